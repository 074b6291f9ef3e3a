#include "output/time_text.h"

#include <cstring>

#include "base/number_format.h"

namespace tessaly::output {
namespace {

bool IsPair(int v) { return v >= 0 && v < 100; }

// "%4.4d-%2.2d-%2.2d" or "%2.2d-%2.2d-%2.2d" of three fields; any field
// outside 0..99 (a year outside 0..9999, the fields of a time that is not
// valid) takes printf's way.
char* WriteTriple(char* out, int first, int second, int third, bool isDate) {
  const bool pairs = isDate ? first >= 0 && first < 10000 : IsPair(first);
  if (pairs && IsPair(second) && IsPair(third)) {
    if (isDate) out = base::WriteTwoDigits(out, first / 100);
    out = base::WriteTwoDigits(out, first % 100);
    *out++ = '-';
    out = base::WriteTwoDigits(out, second);
    *out++ = '-';
    return base::WriteTwoDigits(out, third);
  }
  out = base::WriteInt(out, first, isDate ? 4 : 2);
  *out++ = '-';
  out = base::WriteInt(out, second, 2);
  *out++ = '-';
  return base::WriteInt(out, third, 2);
}

char* WriteFields(char* out, const record::CalendarFields& f) {
  out = WriteTriple(out, f.year, f.month, f.day, true);
  *out++ = ' ';
  return WriteTriple(out, f.hour, f.minute, f.second, false);
}

}  // namespace

char* TimeTextWriter::Write(char* out, const record::RecordTime& time) {
  if (!time.IsValid()) return WriteFields(out, time.Fields());
  const int64_t day =
      time.ticks >= 0 ? time.ticks / record::kTicksPerDay : -1 - (-1 - time.ticks) / record::kTicksPerDay;
  if (day != day_ || !known_) {
    const record::CalendarFields f =
        record::RecordTime{record::RecordTimeStatus::Valid, day * record::kTicksPerDay}.Fields();
    char* end = WriteTriple(date_, f.year, f.month, f.day, true);
    *end++ = ' ';
    dateLength_ = static_cast<size_t>(end - date_);
    day_ = day;
    known_ = true;
  }
  std::memcpy(out, date_, dateLength_);
  const auto seconds = static_cast<int>((time.ticks - day * record::kTicksPerDay) / record::kTicksPerSecond);
  return WriteTriple(out + dateLength_, seconds / 3600, seconds / 60 % 60, seconds % 60, false);
}

}  // namespace tessaly::output
