#include "analysis/cursor_readout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/texts.h"
#include "settings/settings_file.h"
#include "support/sample_fixture.h"

namespace tessaly::analysis {
namespace {

using record::RecordTime;
using record::RecordTimeStatus;
using record::Sample;
using recorder::CRecorderData;

const RecordTime kT0 = RecordTime::FromCalendar(2015, 1, 5, 10, 0, 0);

// Channel 1 (range 0..10, one decimal) walks over and under its limits and
// through both markers and a time that is not valid; channel 3 (two
// decimals) holds the high marker at index 1 and ends a trifle lower. Only these two are shown.
class CursorReadoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings::ApplyDefaultSettings(data);
    for (settings::ChannelInfo& c : data.channels) c.shown = 0;
    data.channels[0] = {0x0000FF, 1, 1, 0, "Temp", "C", {}, 0.0f, 10.0f};
    data.channels[2] = {0x00FF00, 1, 1, 0, "Flow", "m3/h", {}, 0.0f, 100.0f};
    struct Row {
      double seconds;  // < 0: time not valid
      float ch1, ch3;
    };
    const Row rows[] = {{0.0, 5, 1.5f}, {0.5, 12, 45000},    {1.0, 45000, 1.5f}, {1.7, -3, 1.5f}, {2.0, -2, 1.5f},
                        {-1, 8, 1.5f},  {3.0, -19999, 1.5f}, {3.2, 11, 1.5f},    {4.0, 1, 1.499f}};
    std::vector<Sample> samples;
    for (const Row& r : rows) {
      Sample s{};
      s.time = kT0.Add(static_cast<int64_t>(r.seconds * 1e7));
      if (r.seconds < 0) s.time.status = RecordTimeStatus::Invalid;
      s.values[0] = r.ch1;
      s.values[2] = r.ch3;
      s.decimals[0] = 1;
      s.decimals[2] = 2;
      samples.push_back(s);
    }
    data.samples = tessaly::testing::BufferOf(samples);
  }
  std::vector<std::vector<std::string>> Rows(size_t a, size_t b, int language = base::kEnglish) {
    return CursorTable(ReadCursors(data.samples, data, a, b), data, language).rows;
  }
  CRecorderData data;
};

TEST_F(CursorReadoutTest, NumbersBetweenTheCursorsLeaveMarkersOut) {
  const CursorReadout r = ReadCursors(data.samples, data, 1, 7);
  ASSERT_EQ(r.channels.size(), 2u);
  ASSERT_TRUE(r.deltaMs);
  EXPECT_EQ(*r.deltaMs, 2700);
  const CursorChannel& c = r.channels[0];
  EXPECT_EQ(c.channel, 0);
  // 12, -3, -2, 8, 11 (45000 and -19999 left out).
  EXPECT_EQ(c.min, -3.0f);
  EXPECT_EQ(c.max, 12.0f);
  EXPECT_DOUBLE_EQ(*c.mean, 26.0 / 5.0);
  // Over: 12 from 0.5 s to 1.0 s (the marker after it counts for nothing).
  // Under: -3 from 1.7 s to 2.0 s; -2 up to a time that is not valid lasts
  // 0; the low marker from 3.0 s to 3.2 s is not under.
  EXPECT_EQ(c.outside.aboveMs, 500.0f);
  EXPECT_EQ(c.outside.belowMs, 300.0f);

  const std::vector<std::vector<std::string>> rows = Rows(1, 7);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"Time", "s", "2015-01-05 10:00:00.500", "2015-01-05 10:00:03.200",
                                               "2.700", "", "", "", "", ""}));
  EXPECT_EQ(rows[1],
            (std::vector<std::string>{"Temp", "C", "12.0", "11.0", "-1.0", "-3.0", "12.0", "5.2", "0.500", "0.300"}));
  // A marker at A: no difference; the marker is in no statistic.
  EXPECT_EQ(rows[2], (std::vector<std::string>{"Flow", "m3/h", "45000.00", "1.50", "—", "1.50", "1.50", "1.50", "0.000",
                                               "0.000"}));
  // A difference below the last decimal has no sign.
  EXPECT_EQ(Rows(7, 8)[2][4], "0.00");
}

TEST_F(CursorReadoutTest, CursorsInEitherOrderAndTimesThatAreNotValid) {
  // B left of A: the differences turn round, the statistics stay.
  const std::vector<std::vector<std::string>> reversed = Rows(7, 1);
  EXPECT_EQ(reversed[0][4], "-2.700");
  EXPECT_EQ(reversed[1],
            (std::vector<std::string>{"Temp", "C", "11.0", "12.0", "1.0", "-3.0", "12.0", "5.2", "0.500", "0.300"}));
  // A time that is not valid has no text and no difference.
  const std::vector<std::vector<std::string>> invalid = Rows(5, 8, base::kChinese);
  EXPECT_EQ(invalid[0][0], "时间");
  EXPECT_EQ(invalid[0][2], "时间无效");
  EXPECT_EQ(invalid[0][4], "—");
  // Only markers between the cursors: no minimum, maximum or mean.
  EXPECT_EQ(Rows(2, 2)[1],
            (std::vector<std::string>{"Temp", "C", "45000.0", "45000.0", "—", "—", "—", "—", "0.000", "0.000"}));
  const StatisticsTable table = CursorTable(ReadCursors(data.samples, data, 0, 8), data, base::kEnglish);
  const std::string text = CopyText(table);
  EXPECT_EQ(text.substr(0, text.find('\n')), "Channel\tUnit\tA\tB\tΔ (B−A)\tMin\tMax\tMean\tOver (s)\tUnder (s)\t");
}

TEST_F(CursorReadoutTest, PartWindowMapsPointsToSamplesAndBack) {
  data.samples = tessaly::testing::BufferOf(std::vector<Sample>(100));
  data.partGraphInterval = 3;
  data.partFirst = 10;
  data.partEnd = 20;
  EXPECT_EQ(SampleAtPoint(data, 0), 30u);
  EXPECT_EQ(SampleAtPoint(data, 9), 57u);
  EXPECT_FALSE(SampleAtPoint(data, 10));
  EXPECT_FALSE(SampleAtPoint(data, -1));
  EXPECT_EQ(PointOfSample(data, 30), 0.0);
  EXPECT_EQ(PointOfSample(data, 57), 9.0);
  EXPECT_DOUBLE_EQ(*PointOfSample(data, 31), 1.0 / 3.0);
  EXPECT_FALSE(PointOfSample(data, 29));
  EXPECT_FALSE(PointOfSample(data, 58));
  // A window that draws nothing holds no cursor.
  data.partEnd = 40;
  EXPECT_FALSE(SampleAtPoint(data, 0));
  EXPECT_FALSE(PointOfSample(data, 30));
}

}  // namespace
}  // namespace tessaly::analysis
