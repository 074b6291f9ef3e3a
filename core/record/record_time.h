#pragma once
// Time stamps of decoded samples: a status and 100-ns ticks since
// 1601-01-01 00:00:00 (proleptic Gregorian, no time zone).
#include <cstdint>
#include <optional>
#include <string_view>

namespace tessaly::record {

enum class RecordTimeStatus : int32_t { Valid = 0, Invalid = 1, Null = 2 };

constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kTicksPerDay = 86'400 * kTicksPerSecond;

struct CalendarFields {
  int year, month, day, hour, minute, second, millisecond;
};

struct RecordTime {
  RecordTimeStatus status = RecordTimeStatus::Null;
  int64_t ticks = 0;  // meaningful only when status is Valid

  bool IsValid() const { return status == RecordTimeStatus::Valid; }

  // Invalid when month is outside 1..12 or year outside -29000..29000, or
  // when the time lies beyond what the ticks hold (before about -27600); day,
  // hour, minute and second carry over arithmetically (day 0 is the last day
  // of the previous month, hour 24 is 00 of the next day).
  static RecordTime FromCalendar(int year, int month, int day, int hour, int minute, int second);

  // Days since 1899-12-30 00:00:00, the fraction being the time of day;
  // Invalid outside 100-01-01 .. 9999-12-31, where such dates do not convert.
  static RecordTime FromOleDate(double oleDate);
  double ToOleDate() const;

  // All fields -1 when the status is not Valid (what every printed time shows).
  CalendarFields Fields() const;

  // Null stays Null, Invalid stays Invalid, otherwise ticks + span (Invalid
  // if that overflows).
  RecordTime Add(int64_t span) const;

  // a - b: Null if either is Null, else Invalid if either is Invalid (or the
  // difference overflows), else the tick difference (in `ticks`).
  static RecordTime Difference(const RecordTime& a, const RecordTime& b);
};

// "YYYY-MM-DD HH:MM:SS" naming a real calendar date and time (millisecond 0);
// none for anything else.
std::optional<CalendarFields> ParseCalendarText(std::string_view text);

}  // namespace tessaly::record
