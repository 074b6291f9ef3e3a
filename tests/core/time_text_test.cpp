#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "output/time_text.h"

namespace tessaly::output {
namespace {

using record::RecordTime;

std::string Printf(const record::CalendarFields& f) {
  char text[128];
  std::snprintf(text, sizeof text, "%4.4d-%2.2d-%2.2d %2.2d-%2.2d-%2.2d", f.year, f.month, f.day, f.hour, f.minute,
                f.second);
  return text;
}

// One writer over times that change day back and forth, as overlapping
// sectors and gaps make them: every text is printf's.
TEST(TimeText, MatchesPrintfAcrossDays) {
  const RecordTime times[] = {
      RecordTime::FromCalendar(2015, 1, 5, 23, 59, 59),
      RecordTime::FromCalendar(2015, 1, 6, 0, 0, 0).Add(9'999'999),
      RecordTime::FromCalendar(2015, 1, 5, 12, 0, 0),
      RecordTime{record::RecordTimeStatus::Invalid, 0},
      RecordTime::FromCalendar(2016, 2, 29, 8, 9, 10),
      RecordTime{record::RecordTimeStatus::Null, 0},
      RecordTime::FromCalendar(1601, 1, 1, 0, 0, 0),
      RecordTime::FromCalendar(12000, 6, 1, 1, 2, 3),  // a year of five digits
      RecordTime::FromCalendar(2016, 2, 29, 8, 9, 11),
  };
  TimeTextWriter writer;
  for (const RecordTime& t : times) {
    char text[kTimeTextRoom];
    const std::string written(text, static_cast<size_t>(writer.Write(text, t) - text));
    EXPECT_EQ(written, Printf(t.Fields()));
  }
  char text[kTimeTextRoom];
  EXPECT_EQ(std::string(text, static_cast<size_t>(writer.Write(text, times[3]) - text)), "-0001--01--01 -01--01--01");
}

}  // namespace
}  // namespace tessaly::output
