#include "record/record_time.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace tessaly::record {
namespace {

// Days from 1970-01-01 to the given civil date (H. Hinnant's algorithm),
// valid for the whole proleptic Gregorian range used here. constexpr, so the
// epochs below are constants: a RecordTime made during another file's static
// initialisation must not see them still zero.
constexpr int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

constexpr int64_t kEpoch1601 = DaysFromCivil(1601, 1, 1);
constexpr int64_t kOleEpochDays = DaysFromCivil(1899, 12, 30) - DaysFromCivil(1601, 1, 1);
// The span OLE automation dates convert within: 100-01-01 to 9999-12-31.
constexpr int64_t kOleFirstTicks = (DaysFromCivil(100, 1, 1) - kEpoch1601) * kTicksPerDay;
constexpr int64_t kOleEndTicks = (DaysFromCivil(10000, 1, 1) - kEpoch1601) * kTicksPerDay;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

RecordTime RecordTime::FromCalendar(int year, int month, int day, int hour, int minute, int second) {
  if (month < 1 || month > 12 || year < -29000 || year > 29000) return {RecordTimeStatus::Invalid, 0};
  const int64_t days = DaysFromCivil(year, month, 1) - kEpoch1601 + (int64_t{day} - 1);
  const int64_t seconds = days * 86'400 + int64_t{hour} * 3600 + int64_t{minute} * 60 + second;
  // 100-ns ticks from 1601 reach about 29,000 years either way, so the early
  // part of the year range (and far carried-over fields) cannot be held.
  int64_t ticks = 0;
  if (__builtin_mul_overflow(seconds, kTicksPerSecond, &ticks)) return {RecordTimeStatus::Invalid, 0};
  return {RecordTimeStatus::Valid, ticks};
}

RecordTime RecordTime::FromOleDate(double oleDate) {
  if (!std::isfinite(oleDate) || std::fabs(oleDate) > 1.0e7) return {RecordTimeStatus::Invalid, 0};
  // OLE dates before day 0 count the time of day forward from the negative
  // day (-1.25 is 1899-12-29 06:00), unlike a plain number line.
  double whole = std::trunc(oleDate);
  double fraction = std::fabs(oleDate - whole);
  const int64_t dayTicks = static_cast<int64_t>(std::llround(fraction * 86'400'000.0)) * 10'000;
  const int64_t days = static_cast<int64_t>(whole) + kOleEpochDays;
  const int64_t ticks = days * kTicksPerDay + dayTicks;
  if (ticks < kOleFirstTicks || ticks >= kOleEndTicks) return {RecordTimeStatus::Invalid, 0};
  return {RecordTimeStatus::Valid, ticks};
}

double RecordTime::ToOleDate() const {
  const int64_t days = FloorDiv(ticks, kTicksPerDay);
  const int64_t dayTicks = ticks - days * kTicksPerDay;
  const double oleDays = static_cast<double>(days - kOleEpochDays);
  const double fraction = static_cast<double>(dayTicks) / static_cast<double>(kTicksPerDay);
  // Mirror of FromOleDate for days before the epoch.
  return oleDays >= 0 ? oleDays + fraction : oleDays - fraction;
}

CalendarFields RecordTime::Fields() const {
  if (!IsValid()) return {-1, -1, -1, -1, -1, -1, -1};
  const int64_t days = FloorDiv(ticks, kTicksPerDay);
  const int64_t dayTicks = ticks - days * kTicksPerDay;
  CalendarFields f{};
  CivilFromDays(days + kEpoch1601, f.year, f.month, f.day);
  const int64_t secondsOfDay = dayTicks / kTicksPerSecond;
  f.hour = static_cast<int>(secondsOfDay / 3600);
  f.minute = static_cast<int>(secondsOfDay / 60 % 60);
  f.second = static_cast<int>(secondsOfDay % 60);
  f.millisecond = static_cast<int>(dayTicks % kTicksPerSecond / 10'000);
  return f;
}

RecordTime RecordTime::Add(int64_t span) const {
  if (!IsValid()) return *this;
  int64_t sum = 0;
  if (__builtin_add_overflow(ticks, span, &sum)) return {RecordTimeStatus::Invalid, 0};
  return {RecordTimeStatus::Valid, sum};
}

RecordTime RecordTime::Difference(const RecordTime& a, const RecordTime& b) {
  if (a.status == RecordTimeStatus::Null || b.status == RecordTimeStatus::Null) return {RecordTimeStatus::Null, 0};
  int64_t difference = 0;
  if (a.status == RecordTimeStatus::Invalid || b.status == RecordTimeStatus::Invalid ||
      __builtin_sub_overflow(a.ticks, b.ticks, &difference))
    return {RecordTimeStatus::Invalid, 0};
  return {RecordTimeStatus::Valid, difference};
}

std::optional<CalendarFields> ParseCalendarText(std::string_view text) {
  CalendarFields f{};
  int consumed = 0;
  const std::string copy(text);
  if (std::sscanf(copy.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%n", &f.year, &f.month, &f.day, &f.hour, &f.minute, &f.second,
                  &consumed) != 6 ||
      static_cast<size_t>(consumed) != copy.size())
    return std::nullopt;
  // A real calendar time survives the round trip unchanged.
  const CalendarFields back = RecordTime::FromCalendar(f.year, f.month, f.day, f.hour, f.minute, f.second).Fields();
  if (back.year != f.year || back.month != f.month || back.day != f.day || back.hour != f.hour ||
      back.minute != f.minute || back.second != f.second)
    return std::nullopt;
  return f;
}

}  // namespace tessaly::record
