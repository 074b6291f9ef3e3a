#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "record/record_time.h"

namespace tessaly::record {
namespace {

using S = RecordTimeStatus;

RecordTime Cal(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return RecordTime::FromCalendar(y, mo, d, h, mi, s);
}

// Known OLE automation dates: whole days since 1899-12-30, the fraction being
// the time of day.
TEST(RecordTime, OleDatesOfKnownDays) {
  struct Case {
    int y, mo, d, h, mi, s;
    double ole;
  };
  const Case cases[] = {
      {1899, 12, 30, 0, 0, 0, 0.0},
      {1899, 12, 31, 0, 0, 0, 1.0},
      {1900, 1, 1, 0, 0, 0, 2.0},
      {1899, 12, 29, 6, 0, 0, -1.25},  // before day 0 the fraction counts forward from the day
      {1601, 1, 1, 0, 0, 0, -109205.0},
      {2000, 1, 1, 0, 0, 0, 36526.0},
      {2015, 1, 5, 8, 9, 10, 42009.0 + (8 * 3600 + 9 * 60 + 10) / 86400.0},
      {2016, 2, 29, 12, 0, 0, 42429.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.y << "-" << c.mo << "-" << c.d << " " << c.h << ":" << c.mi << ":" << c.s);
    const RecordTime t = Cal(c.y, c.mo, c.d, c.h, c.mi, c.s);
    ASSERT_TRUE(t.IsValid());
    EXPECT_NEAR(t.ToOleDate(), c.ole, 1e-9);
    const RecordTime back = RecordTime::FromOleDate(c.ole);
    ASSERT_TRUE(back.IsValid());
    EXPECT_EQ(back.ticks, t.ticks);
  }
  EXPECT_EQ(Cal(1601, 1, 1).ticks, 0);
  EXPECT_EQ(Cal(1601, 1, 2, 0, 0, 1).ticks, kTicksPerDay + kTicksPerSecond);
}

// OLE dates convert within 100-01-01 .. 9999-12-31 only; beyond, the time is
// not valid (and prints as -1) rather than a year such as 10000 or -838.
TEST(RecordTime, OleDatesConvertWithinTheirRangeOnly) {
  const double first = Cal(100, 1, 1).ToOleDate();
  const double last = Cal(9999, 12, 31, 23, 59, 59).ToOleDate();
  EXPECT_EQ(first, -657434.0);
  for (double inside : {first, first - 0.5, last, 2958465.0}) {
    const RecordTime t = RecordTime::FromOleDate(inside);
    ASSERT_TRUE(t.IsValid()) << inside;
    EXPECT_GE(t.Fields().year, 100);
    EXPECT_LE(t.Fields().year, 9999);
  }
  for (double outside : {first - 1.0, 2958466.0, 2958465.999999999, 10'000'000.0, -1'000'000.0, 1.0e300}) {
    const RecordTime t = RecordTime::FromOleDate(outside);
    EXPECT_EQ(t.status, S::Invalid) << outside;
    EXPECT_EQ(t.Fields().year, -1) << outside;
  }
}

TEST(RecordTime, FieldsOutOfRangeCarryOver) {
  struct Case {
    RecordTime given, same;
  };
  const Case cases[] = {
      {Cal(2015, 3, 0), Cal(2015, 2, 28)},  // day 0: last day of the previous month
      {Cal(2016, 3, 0), Cal(2016, 2, 29)},
      {Cal(2015, 1, 0), Cal(2014, 12, 31)},
      {Cal(2015, 4, 31), Cal(2015, 5, 1)},
      {Cal(2015, 1, 5, 24, 0, 0), Cal(2015, 1, 6, 0, 0, 0)},  // hour 24: 00 of the next day
      {Cal(2015, 1, 5, 30, 0, 0), Cal(2015, 1, 6, 6, 0, 0)},
      {Cal(2015, 12, 31, 23, 59, 60), Cal(2016, 1, 1, 0, 0, 0)},
      {Cal(2015, 1, 5, 0, 0, -1), Cal(2015, 1, 4, 23, 59, 59)},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(c.given.IsValid());
    EXPECT_EQ(c.given.ticks, c.same.ticks);
  }
}

TEST(RecordTime, MonthOrYearOutsideItsRangeIsInvalid) {
  EXPECT_EQ(Cal(2015, 0, 5).status, S::Invalid);
  EXPECT_EQ(Cal(2015, 13, 5).status, S::Invalid);
  EXPECT_EQ(Cal(29001, 1, 1).status, S::Invalid);
  EXPECT_EQ(Cal(-29001, 1, 1).status, S::Invalid);
  EXPECT_TRUE(Cal(29000, 12, 31, 23, 59, 59).IsValid());
  EXPECT_EQ(Cal(29000, 12, 31).Fields().year, 29000);
  // 100-ns ticks from 1601 do not reach back to -29000: such times are
  // refused rather than wrapped.
  EXPECT_EQ(Cal(-29000, 1, 1).status, S::Invalid);
  EXPECT_TRUE(Cal(-27000, 1, 1).IsValid());
  EXPECT_EQ(Cal(2015, 1, INT32_MAX).status, S::Invalid);
  EXPECT_EQ(RecordTime::FromOleDate(std::numeric_limits<double>::quiet_NaN()).status, S::Invalid);
}

TEST(RecordTime, CalendarFieldsWithMilliseconds) {
  const auto all = [](const CalendarFields& f) {
    return std::array{f.year, f.month, f.day, f.hour, f.minute, f.second, f.millisecond};
  };
  EXPECT_EQ(all(Cal(2024, 2, 29, 23, 59, 59).Add(5'000'000).Fields()), (std::array{2024, 2, 29, 23, 59, 59, 500}));
  EXPECT_EQ(all(Cal(1601, 1, 1).Fields()), (std::array{1601, 1, 1, 0, 0, 0, 0}));
  for (const RecordTime& t : {RecordTime{S::Invalid, 0}, RecordTime{S::Null, 0}})
    EXPECT_EQ(all(t.Fields()), (std::array{-1, -1, -1, -1, -1, -1, -1}));
}

TEST(RecordTime, AddAndDifferenceKeepNullAndInvalid) {
  const RecordTime valid = Cal(2015, 1, 5, 8);
  const RecordTime invalid{S::Invalid, 0};
  const RecordTime null{S::Null, 0};
  EXPECT_EQ(valid.Add(kTicksPerSecond).ticks, Cal(2015, 1, 5, 8, 0, 1).ticks);
  EXPECT_EQ(invalid.Add(kTicksPerSecond).status, S::Invalid);
  EXPECT_EQ(valid.Add(INT64_MAX).status, S::Invalid);
  EXPECT_EQ(RecordTime::Difference(Cal(-27000, 1, 1), Cal(29000, 1, 1)).status, S::Invalid);
  EXPECT_EQ(null.Add(kTicksPerSecond).status, S::Null);

  struct Case {
    RecordTime a, b;
    S status;
  };
  const Case cases[] = {
      {valid, invalid, S::Invalid}, {invalid, valid, S::Invalid}, {valid, null, S::Null},
      {null, invalid, S::Null},     {invalid, null, S::Null},     {valid, valid, S::Valid},
  };
  for (const Case& c : cases) EXPECT_EQ(RecordTime::Difference(c.a, c.b).status, c.status);
  EXPECT_EQ(RecordTime::Difference(Cal(2015, 1, 5, 8, 0, 3), valid).ticks, 3 * kTicksPerSecond);
  EXPECT_EQ(RecordTime::Difference(valid, Cal(2015, 1, 5, 8, 0, 3)).ticks, -3 * kTicksPerSecond);
}

}  // namespace
}  // namespace tessaly::record
