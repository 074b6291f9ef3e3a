#include "output/time_text.h"

#include "base/number_format.h"

namespace tessaly::output {
namespace {

bool IsPair(int v) { return v >= 0 && v < 100; }

char* WriteFields(char* out, const record::CalendarFields& f) {
  // Any field outside 0..99 (the year outside 0..9999, every field of a time
  // that is not valid) takes printf's way.
  if (!(f.year >= 0 && f.year < 10000 && IsPair(f.month) && IsPair(f.day) && IsPair(f.hour) && IsPair(f.minute) &&
        IsPair(f.second))) {
    const int fields[6] = {f.year, f.month, f.day, f.hour, f.minute, f.second};
    static constexpr char kAfter[6] = {'-', '-', ' ', '-', '-', 0};
    for (int i = 0; i < 6; ++i) {
      out = base::WriteInt(out, fields[i], i == 0 ? 4 : 2);
      if (kAfter[i]) *out++ = kAfter[i];
    }
    return out;
  }
  out = base::WriteTwoDigits(out, f.year / 100);
  out = base::WriteTwoDigits(out, f.year % 100);
  *out++ = '-';
  out = base::WriteTwoDigits(out, f.month);
  *out++ = '-';
  out = base::WriteTwoDigits(out, f.day);
  *out++ = ' ';
  out = base::WriteTwoDigits(out, f.hour);
  *out++ = '-';
  out = base::WriteTwoDigits(out, f.minute);
  *out++ = '-';
  return base::WriteTwoDigits(out, f.second);
}

}  // namespace

char* TimeTextWriter::Write(char* out, const record::RecordTime& time) {
  if (!time.IsValid()) return WriteFields(out, time.Fields());
  const int64_t day = time.ticks >= 0 ? time.ticks / record::kTicksPerDay : -1 - (-1 - time.ticks) / record::kTicksPerDay;
  if (day != day_ || !known_) {
    date_ = record::RecordTime{record::RecordTimeStatus::Valid, day * record::kTicksPerDay}.Fields();
    day_ = day;
    known_ = true;
  }
  const auto seconds = static_cast<int>((time.ticks - day * record::kTicksPerDay) / record::kTicksPerSecond);
  record::CalendarFields f = date_;
  f.hour = seconds / 3600;
  f.minute = seconds / 60 % 60;
  f.second = seconds % 60;
  return WriteFields(out, f);
}

}  // namespace tessaly::output
