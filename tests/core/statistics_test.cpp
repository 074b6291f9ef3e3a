#include <cmath>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/statistics.h"
#include "support/sample_fixture.h"

namespace tessaly::analysis {
namespace {

using record::RecordTime;
using record::RecordTimeStatus;
using record::Sample;
using record::SampleBuffer;

const RecordTime kT0 = RecordTime::FromCalendar(2015, 1, 5, 10, 0, 0);

RecordTime At(double seconds) { return kT0.Add(static_cast<int64_t>(seconds * 1e7)); }

// Samples at the given offsets (seconds from 10:00:00) with the given value
// of channel 1; channel k + 1 (index k) holds k throughout.
std::vector<Sample> Samples(const std::vector<std::pair<double, float>>& points) {
  std::vector<Sample> samples;
  for (const auto& [offset, value] : points) {
    Sample s{};
    s.time = At(offset);
    s.values[0] = value;
    for (int ch = 1; ch < 18; ++ch) s.values[ch] = static_cast<float>(ch);
    samples.push_back(s);
  }
  return samples;
}

SampleBuffer Buffer(const std::vector<std::pair<double, float>>& points) {
  return tessaly::testing::BufferOf(Samples(points));
}

std::vector<std::string> Headings(const StatisticsTable& table) {
  std::vector<std::string> out;
  for (const auto& c : table.columns) out.push_back(c.heading);
  return out;
}

TEST(ResolveRange, MatchesTheSameSecondOrFallsBackToTheEnds) {
  std::vector<Sample> chosen = Samples({{0, 0}, {1.2, 0}, {1.7, 0}, {3, 0}, {3.9, 0}, {5, 0}});
  chosen[4].time.status = RecordTimeStatus::Invalid;
  const SampleBuffer samples = tessaly::testing::BufferOf(chosen);
  struct Case {
    const char* name;
    RecordTime start, end;
    size_t first, last;
  };
  const Case cases[] = {
      {"same-second", At(1), At(3), 1, 3},
      {"fall-backs", At(20), At(30), 0, 5},
      {"invalid-never-matches", At(0), At(3), 0, 3},
      {"end-searched-from-the-top", At(0), At(1), 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SampleRange r = ResolveRange(samples, c.start, c.end);
    EXPECT_EQ(r.start, c.first);
    EXPECT_EQ(r.end, c.last);
  }
}

TEST(PeakValleyAverage, PerChannelOverTheRange) {
  const SampleBuffer samples = Buffer({{0, 100}, {1, 2.5f}, {2, 45000.0f}, {3, -1.5f}, {4, 7}});
  const StatisticsResult r = PeakValleyAverage(samples, At(1), At(3), 0);
  ASSERT_EQ(r.status, StatisticsStatus::Ok);
  EXPECT_EQ(Headings(r.table), (std::vector<std::string>{"通道号", "峰值", "谷值", "均值"}));
  EXPECT_EQ(r.table.columns[0].width, 60);
  EXPECT_EQ(r.table.columns[3].width, 100);
  ASSERT_EQ(r.table.rows.size(), 18u);
  // The marker counts like a value.
  EXPECT_EQ(r.table.rows[0], (std::vector<std::string>{"1", "45000", "-1.5", "15000.3"}));
  EXPECT_EQ(r.table.rows[17], (std::vector<std::string>{"18", "17", "17", "17"}));
  EXPECT_EQ(Headings(PeakValleyAverage(samples, At(1), At(3), 1).table),
            (std::vector<std::string>{"Channel", "Max", "Min", "Avg"}));
}

TEST(PeakValleyAverage, OneSampleRange) {
  const SampleBuffer samples = Buffer({{0, 1}, {5, 0.125f}});
  const StatisticsResult r = PeakValleyAverage(samples, At(5), At(9), 0);  // the end falls back to the last sample
  EXPECT_EQ(r.table.rows[0], (std::vector<std::string>{"1", "0.125", "0.125", "0.125"}));
}

TEST(PeakValleyAverage, FormatsWithG) {
  const SampleBuffer samples = Buffer({{0, 1234567.0f}, {1, 0.00001f}, {2, 1}});
  const StatisticsResult r = PeakValleyAverage(samples, At(0), At(2), 0);
  EXPECT_EQ(r.table.rows[0], (std::vector<std::string>{"1", "1.23457e+06", "1e-05", "411523"}));
}

TEST(Statistics, RefuseUnreasonableTimesAndReversedRanges) {
  const SampleBuffer ordered = Buffer({{0, 1}, {1, 2}, {2, 3}});
  for (const auto& run :
       {std::function<StatisticsResult(const SampleBuffer&, RecordTime, RecordTime)>(
            [](const SampleBuffer&s, RecordTime a, RecordTime b) { return PeakValleyAverage(s, a, b, 0); }),
        std::function<StatisticsResult(const SampleBuffer&, RecordTime, RecordTime)>(
            [](const SampleBuffer&s, RecordTime a, RecordTime b) {
              return OverLimit(s, a, b, {0, 0, true, true, 0}, 0);
            })}) {
    const StatisticsResult same = run(ordered, At(1), At(1));
    EXPECT_EQ(same.status, StatisticsStatus::TimeUnreasonable);
    EXPECT_TRUE(same.table.columns.empty());
    EXPECT_EQ(run(ordered, At(2), At(1)).status, StatisticsStatus::TimeUnreasonable);

    // Out of time order: 10:00:02 comes first, 10:00:00 last.
    const StatisticsResult reversed = run(Buffer({{2, 1}, {1, 2}, {0, 3}}), At(0), At(2));
    EXPECT_EQ(reversed.status, StatisticsStatus::RangeReversed);
    EXPECT_FALSE(reversed.table.columns.empty());
    EXPECT_TRUE(reversed.table.rows.empty());

    const StatisticsResult empty = run({}, At(0), At(2));
    EXPECT_EQ(empty.status, StatisticsStatus::Ok);
    EXPECT_FALSE(empty.table.columns.empty());
    EXPECT_TRUE(empty.table.rows.empty());
  }
}

TEST(OverLimit, CountsTheIntervalsOpenedBelowAndAboveTheLimits) {
  // Channel 1 over 10:00:00 .. 10:00:06, limits 10 and 20.
  std::vector<Sample> chosen = Samples({{0, 5}, {1, 10}, {2.5, 25}, {3, 20}, {4, 45000.0f}, {5, 1}, {6, 30}});
  const SampleBuffer samples = tessaly::testing::BufferOf(chosen);
  const StatisticsResult r = OverLimit(samples, At(0), At(6), {10, 20, true, true, 0}, 0);
  ASSERT_EQ(r.status, StatisticsStatus::Ok);
  EXPECT_EQ(Headings(r.table), (std::vector<std::string>{"通道号", "超下限时间（秒）", "超上限时间（秒）"}));
  ASSERT_EQ(r.table.rows.size(), 18u);
  // Below: [0,1) and [5,6); equal to a limit and the marker never count.
  EXPECT_EQ(r.table.rows[0], (std::vector<std::string>{"通道1", "2.0", "0.5"}));
  EXPECT_EQ(r.table.rows[9], (std::vector<std::string>{"通道10", "6.0", "0.0"}));
  EXPECT_EQ(r.table.rows[10], (std::vector<std::string>{"通道11", "0.0", "0.0"}));
  EXPECT_EQ(r.table.rows[17], (std::vector<std::string>{"通道18", "0.0", "0.0"}));

  // An invalid time takes out the interval before and the one after it.
  chosen[5].time.status = RecordTimeStatus::Null;
  EXPECT_EQ(OverLimit(tessaly::testing::BufferOf(chosen), At(0), At(6), {10, 20, true, true, 0}, 0).table.rows[0][1],
            "1.0");
}

TEST(OverLimit, ColumnsFollowTheCheckBoxesAndTheChannelChoice) {
  const SampleBuffer samples = Buffer({{0, -1}, {2, 1}, {3, 0}});
  struct Case {
    const char* name;
    OverLimitOptions options;
    int language;
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> firstRows;
    size_t rows;
  };
  const Case cases[] = {
      {"defaults-both",
       {0, 0, true, true, 0},
       1,
       {"Channel", "lowerlimit time（s）", "Upperlimit time（s）"},
       {{"Channel1", "2.0", "1.0"}, {"Channel2", "0.0", "3.0"}},
       18},
      {"lower-only", {0, 0, true, false, 0}, 0, {"通道号", "超下限时间（秒）"}, {{"通道1", "2.0"}}, 18},
      {"upper-only", {0, 0, false, true, 0}, 1, {"Channel", "Upperlimit time（s）"}, {{"Channel1", "1.0"}}, 18},
      {"neither", {0, 0, false, false, 0}, 0, {"通道号"}, {{"通道1"}}, 18},
      {"channel-5-english",
       {0, 0, true, true, 5},
       1,
       {"Channel", "lowerlimit time（s）", "Upperlimit time（s）"},
       {{"通道5", "0.0", "3.0"}},
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const StatisticsResult r = OverLimit(samples, At(0), At(3), c.options, c.language);
    EXPECT_EQ(Headings(r.table), c.headings);
    ASSERT_EQ(r.table.rows.size(), c.rows);
    for (size_t i = 0; i < c.firstRows.size(); ++i) EXPECT_EQ(r.table.rows[i], c.firstRows[i]);
  }
}

TEST(OverLimit, DurationsInWholeMillisecondsTruncatedTowardZero) {
  struct Case {
    int64_t stepTicks;
    const char* below;
  };
  // 100 steps of 1.5 ms: 100 ms when truncated (150 exact, 200 rounded);
  // backwards in time they are -100 ms.
  for (const Case& c : {Case{15'000, "0.1"}, Case{-15'000, "-0.1"}}) {
    SampleBuffer samples;
    for (int i = 0; i <= 100; ++i) {
      Sample s{};
      s.time = kT0.Add(c.stepTicks * i + (c.stepTicks < 0 ? 5'000'000 : 0));
      s.values[0] = -1;
      samples.push_back(s);
    }
    const StatisticsResult r = OverLimit(samples, At(0), At(1), {0, 0, true, false, 1}, 0);
    ASSERT_EQ(r.table.rows.size(), 1u);
    EXPECT_EQ(r.table.rows[0][1], c.below) << c.stepTicks;
  }
}

TEST(OverLimit, SumsAreRoundedToFloatAfterEveryAddition) {
  // 134,217,728 ms (2^27) then a thousand 1-ms steps: each addition is lost
  // to the float's 16-ms spacing there.
  SampleBuffer samples = Buffer({{0, -1}, {134217.728, -1}});
  for (int i = 1; i <= 1000; ++i) samples.push_back(Samples({{134217.728 + i * 0.001, -1}})[0]);
  const StatisticsResult r = OverLimit(samples, At(0), At(1e6), {0, 0, true, false, 1}, 0);
  EXPECT_EQ(r.table.rows[0][1], "134217.7");
}

TEST(ParseLimit, TakesTheLongestLeadingDecimalNumber) {
  const std::pair<const char*, float> cases[] = {{"0", 0},      {"  12.5", 12.5f}, {"-3", -3},    {"+4.", 4},
                                                 {".5x", 0.5f}, {"1e3", 1000},     {"1e", 1},     {"2E-1abc", 0.2f},
                                                 {"abc", 0},    {"", 0},           {"0x10", 0},   {"inf", 0},
                                                 {"nan", 0},    {"- 1", 0},        {"0.1", 0.1f}, {"1e999", HUGE_VALF}};
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseLimit(text), value) << text;
}

TEST(CopyText, EveryCellAndHeadingEndsInATab) {
  EXPECT_EQ(CopyText({}), "\n");
  const StatisticsTable table{{{"通道号", 60}, {"超下限时间（秒）", 100}}, {{"通道1", "2.0"}, {"通道2", "0.0"}}};
  EXPECT_EQ(CopyText(table), "通道号\t超下限时间（秒）\t\n通道1\t2.0\t\n通道2\t0.0\t\n");
}

TEST(RangeTimeText, PrintsToTheSecondOrMinusOnes) {
  EXPECT_EQ(RangeTimeText(At(3.7)), "2015-01-05 10:00:03");
  EXPECT_EQ(RangeTimeText(RecordTime{RecordTimeStatus::Invalid, 0}), "-0001--01--01 -01:-01:-01");
}

}  // namespace
}  // namespace tessaly::analysis
