#include "output/print_pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "support/sample_fixture.h"

namespace tessaly::output {
namespace {

using record::RecordTime;
using record::Sample;

const RecordTime kT0 = RecordTime::FromCalendar(2026, 3, 4, 10, 0, 0);
constexpr int64_t kTicksPerMs = 10'000;

// `count` samples 1 s apart from 10:00:00; channel 1 holds 10 + i with one
// decimal, channel 2 holds 2.5 with three decimals, the rest 0.
std::vector<Sample> Samples(size_t count) {
  std::vector<Sample> samples(count);
  for (size_t i = 0; i < count; ++i) {
    Sample& s = samples[i];
    s.time = kT0.Add(static_cast<int64_t>(i) * record::kTicksPerSecond);
    s.values[0] = 10.0f + static_cast<float>(i);
    s.decimals[0] = 1;
    s.values[1] = 2.5f;
    s.decimals[1] = 3;
  }
  return samples;
}

settings::DisplaySettings Display() {
  settings::DisplaySettings d{};
  d.yAxisMode = 1;
  for (int c = 0; c < settings::kChannels; ++c) {
    d.channels[c].color = 0x010203u * static_cast<uint32_t>(c + 1);
    d.channels[c].rangeLow = 0.0f;
    d.channels[c].rangeHigh = 200.0f;
    settings::SetChannelName(d.channels[c], "CH" + std::to_string(c + 1));
  }
  d.channels[0].shown = 1;
  d.channels[1].shown = 1;
  settings::SetDeviceName(d, "R-7");
  return d;
}

struct Document {
  record::SampleBuffer samples;
  settings::DisplaySettings display = Display();
  PrintInput input;

  Document(const std::vector<Sample>& s, uint32_t first, uint32_t end, uint32_t interval = 1,
           PrintKind kind = PrintKind::List, int language = 1)
      : samples(tessaly::testing::BufferOf(s)) {
    input.kind = kind;
    input.partFirst = first;
    input.partEnd = end;
    input.partInterval = interval;
    input.samples = &samples;
    input.display = &display;
    input.language = language;
    input.printTime = {2026, 12, 11, 9, 8, 7, 0};
  }
  PrintPage Page(uint32_t page) const { return ComposePrintPage(input, page); }
};

// Texts of a page by their position.
std::map<std::pair<int, int>, std::string> ByPlace(const PrintPage& page) {
  std::map<std::pair<int, int>, std::string> out;
  for (const PrintText& t : page.texts) EXPECT_TRUE(out.emplace(std::pair{t.x, t.y}, t.text).second) << t.text;
  return out;
}

std::string At(const PrintPage& page, int x, int y) {
  const auto texts = ByPlace(page);
  const auto it = texts.find({x, y});
  return it == texts.end() ? std::string("<none>") : it->second;
}

// Texts in column x of the first `rows` rows of the table (the last page's
// statistics take the place of rows 37 to 39).
std::vector<std::string> RowColumn(const PrintPage& page, int x, int rows = 37) {
  std::vector<std::pair<int, std::string>> cells;
  for (const PrintText& t : page.texts)
    if (t.x == x && t.y >= 370 && t.y < 370 + 100 * rows) cells.push_back({t.y, t.text});
  std::sort(cells.begin(), cells.end());
  std::vector<std::string> out;
  for (auto& [y, text] : cells) out.push_back(text);
  return out;
}

TEST(PrintPages, ListPagesHoldFortyRowsAndLeaveRoomForStatistics) {
  struct Case {
    uint32_t first, end, pages;
    std::vector<size_t> rowsPerPage;
  };
  const Case cases[] = {
      {0, 36, 1, {36}}, {0, 37, 2, {37, 0}}, {10, 86, 2, {40, 36}}, {10, 87, 3, {40, 37, 0}}, {5, 5, 1, {0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "window " << c.first << " to " << c.end);
    const Document doc(Samples(200), c.first, c.end, 2);
    ASSERT_EQ(PrintPageCount(doc.input), c.pages);
    uint32_t next = c.first;
    for (uint32_t p = 1; p <= c.pages; ++p) {
      const PrintPage page = doc.Page(p);
      const std::vector<std::string> indexes = RowColumn(page, 215, 40);
      ASSERT_EQ(indexes.size(), c.rowsPerPage[p - 1]);
      // Point i shows sample i x st, on the row at 370 + 100 x its place on the page.
      for (size_t r = 0; r < indexes.size(); ++r, ++next) {
        EXPECT_EQ(indexes[r], std::to_string(next * 2));
        EXPECT_EQ(At(page, 215, 370 + 100 * static_cast<int>(r)), std::to_string(next * 2));
      }
      EXPECT_EQ(At(page, 6200, 4500), std::to_string(p) + "/" + std::to_string(c.pages));
      const bool statistics =
          std::any_of(page.texts.begin(), page.texts.end(), [](const PrintText& t) { return t.text == "Average"; });
      EXPECT_EQ(statistics, p == c.pages);
    }
    EXPECT_EQ(next, c.end);
  }
}

TEST(PrintPages, ListPageLayout) {
  const Document doc(Samples(40), 0, 3, 1, PrintKind::List, 0);
  const PrintPage page = doc.Page(1);
  EXPECT_FALSE(page.picture);
  size_t horizontal = 0, vertical = 0;
  for (const PrintLine& l : page.lines) {
    if (l.y1 == l.y2 && l.x1 == 200 && l.x2 == 6550 && (l.y1 - 250) % 100 == 0 && l.y1 <= 4350) ++horizontal;
    const bool column = l.x1 == 200 || l.x1 == 400 || (l.x1 >= 1150 && (l.x1 - 1150) % 300 == 0 && l.x1 <= 6550);
    if (l.x1 == l.x2 && l.y1 == 250 && l.y2 == 4350 && column) ++vertical;
  }
  EXPECT_EQ(horizontal, 42u);
  EXPECT_EQ(vertical, 21u);
  EXPECT_EQ(page.lines.size(), 63u);
  EXPECT_EQ(At(page, 3000, 50), "历史数据列表");
  EXPECT_EQ(At(page, 5500, 100), "打印时间：2026-12-11 09:08:07");
  EXPECT_EQ(At(page, 200, 4500), "设备名称：R-7");
  EXPECT_EQ(At(page, 3100, 4500), "记录间隔：1秒");
  EXPECT_EQ(At(page, 215, 270), "序号");
  EXPECT_EQ(At(page, 415, 270), "时间");
  EXPECT_EQ(At(page, 1160, 270), "01");
  EXPECT_EQ(At(page, 1160 + 300 * 17, 270), "18");
  EXPECT_EQ(At(page, 415, 470), "2026-03-04 10:00:01");
  EXPECT_EQ(At(page, 1165, 470), "11.0");
  EXPECT_EQ(At(page, 1465, 470), "2.500");
  EXPECT_EQ(At(page, 1765, 470), "<none>");  // hidden channel 3
  for (const PrintText& t : page.texts) {
    const int points = t.y == 50 ? kTitlePoints : (t.y == 100 || t.y == 4500) ? kLinePoints : kTablePoints;
    EXPECT_EQ(t.points, points) << t.text;
  }
}

TEST(PrintPages, MarkersPrintTheirWordsAndStayOutOfTheStatistics) {
  std::vector<Sample> samples = Samples(10);
  samples[0].decimals[0] = 2;  // the statistics take sample 0's decimals, whatever the others carry
  samples[3].values[0] = record::kMarkerHigh;
  samples[4].values[0] = record::kMarkerLow;
  samples[5].values[0] = 44999.5f;
  samples[6].values[0] = -19998.5f;
  const Document doc(samples, 2, 8);
  const PrintPage page = doc.Page(1);
  EXPECT_EQ(RowColumn(page, 1165),
            (std::vector<std::string>{"12.0", "超上限", "超下限", "44999.5", "-19998.5", "17.0"}));
  EXPECT_EQ(At(page, 1165, 4070), "44999.50");
  EXPECT_EQ(At(page, 1165, 4170), "-19998.50");
  // (12 + 44999.5 - 19998.5 + 17) / 4 in float.
  EXPECT_EQ(At(page, 1165, 4270), "6257.50");
  EXPECT_EQ(At(page, 1465, 4070), "2.500");
  EXPECT_EQ(At(page, 1465, 4270), "2.500");
  EXPECT_EQ(At(page, 1765, 4070), "<none>");
}

TEST(PrintPages, StatisticsAverageIsSummedInSinglePrecision) {
  // 40000 + 0.004 + 0.004 in float is 40000.0078125 (a double sum keeps 40000.008): the
  // average reads 13333.3359, not 13333.3360.
  std::vector<Sample> samples = Samples(3);
  samples[0].values[0] = 40000.0f;
  samples[0].decimals[0] = 4;
  samples[1].values[0] = 0.004f;
  samples[2].values[0] = 0.004f;
  const Document doc(samples, 0, 3);
  EXPECT_EQ(At(doc.Page(1), 1165, 4270), "13333.3359");
}

TEST(PrintPages, PercentageModeShowsTwoDecimalsAndNoStatistics) {
  std::vector<Sample> samples = Samples(4);
  samples[1].values[0] = 50.0f;
  samples[2].values[0] = record::kMarkerHigh;
  Document doc(samples, 0, 3);
  doc.display.yAxisMode = 0;
  const PrintPage page = doc.Page(1);
  EXPECT_EQ(RowColumn(page, 1165), (std::vector<std::string>{"5.00", "25.00", "22500.00"}));
  EXPECT_EQ(RowColumn(page, 1465), (std::vector<std::string>{"1.25", "1.25", "1.25"}));
  EXPECT_EQ(At(page, 415, 4070), "Max");
  EXPECT_EQ(At(page, 1165, 4070), "<none>");
  EXPECT_EQ(At(page, 1165, 4270), "<none>");
}

TEST(PrintPages, NoChannelShownLeavesRowsAndStatisticsEmpty) {
  Document doc(Samples(10), 0, 5);
  for (settings::ChannelInfo& c : doc.display.channels) c.shown = 0;
  const PrintPage page = doc.Page(1);
  EXPECT_TRUE(RowColumn(page, 215).empty());
  EXPECT_TRUE(RowColumn(page, 415).empty());
  EXPECT_EQ(At(page, 1165, 4070), "<none>");
  EXPECT_EQ(At(page, 415, 4070), "Max");
}

TEST(PrintPages, WindowReachingTheEndOfTheDataStillPrints) {
  // 11 samples at interval 2: R = 5 part points.
  const Document atEnd(Samples(11), 2, 5, 2);
  EXPECT_EQ(RowColumn(atEnd.Page(1), 215), (std::vector<std::string>{"4", "6", "8"}));
  EXPECT_EQ(At(atEnd.Page(1), 1165, 4070), "18.0");
  // An empty window (s = e) has its statistics rows with empty cells.
  const Document empty(Samples(11), 3, 3, 2);
  EXPECT_EQ(At(empty.Page(1), 415, 4070), "Max");
  EXPECT_EQ(At(empty.Page(1), 1165, 4070), "<none>");
  // One past the end prints nothing, on one page.
  const Document beyond(Samples(11), 2, 6, 2);
  EXPECT_EQ(PrintPageCount(beyond.input), 1u);
  EXPECT_TRUE(RowColumn(beyond.Page(1), 215).empty());
  EXPECT_EQ(At(beyond.Page(1), 1165, 4070), "<none>");
  // A window whose start lies after its end (a band dragged left of point 0) is one empty page.
  const Document reversed(Samples(11), 4000000000u, 3, 1);
  EXPECT_EQ(PrintPageCount(reversed.input), 1u);
  EXPECT_TRUE(RowColumn(reversed.Page(1), 215).empty());
}

TEST(PrintPages, IntervalTextComesFromSecondsOrMillisecondsOfTheFirstTwoSamples) {
  const RecordTime t = RecordTime::FromCalendar(2026, 3, 4, 10, 0, 59);
  struct Case {
    RecordTime first, second;
    const char* list;
    const char* graph;
  };
  const Case cases[] = {
      {t, RecordTime::FromCalendar(2026, 3, 4, 10, 1, 1), "Interval：-58 s", "interval：-58 s"},
      {t.Add(200 * kTicksPerMs), t.Add(700 * kTicksPerMs), "Interval：500 ms", "interval：500 ms"},
      // Minutes do not enter: 10:00:59 and 10:05:59 are 0 ms apart.
      {t, t.Add(300 * record::kTicksPerSecond), "Interval：0 ms", "interval：0 ms"},
      // A time that is not valid reads as -1 in every field.
      {{record::RecordTimeStatus::Invalid, 0}, t, "Interval：60 s", "interval：60 s"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list);
    std::vector<Sample> samples = Samples(2);
    samples[0].time = c.first;
    samples[1].time = c.second;
    EXPECT_EQ(At(Document(samples, 0, 1).Page(1), 3100, 4500), c.list);
    EXPECT_EQ(At(Document(samples, 0, 1, 1, PrintKind::Graph).Page(1), 4000, 200), c.graph);
  }
  // Fewer than two samples: no interval text.
  EXPECT_EQ(At(Document(Samples(1), 0, 1).Page(1), 3100, 4500), "<none>");
  EXPECT_EQ(At(Document(Samples(1), 0, 1, 1, PrintKind::Graph).Page(1), 4000, 200), "<none>");
}

TEST(PrintPages, GraphPage) {
  std::vector<Sample> samples = Samples(20);
  samples[6].time = {record::RecordTimeStatus::Null, 0};
  const Document doc(samples, 3, 8, 2, PrintKind::Graph, 0);
  EXPECT_EQ(PrintPageCount(doc.input), 1u);
  const PrintPage page = doc.Page(1);
  ASSERT_TRUE(page.picture);
  EXPECT_EQ(*page.picture, (PrintBox{200, 300, 6600, 4300}));
  EXPECT_TRUE(page.lines.empty());
  EXPECT_EQ(At(page, 3000, 20), "历史曲线打印");
  EXPECT_EQ(At(page, 200, 200), "开始时间：-0001--01--01 -01:-01:-01");  // sample 6 has no valid time
  EXPECT_EQ(At(page, 2200, 200), "结束时间：2026-03-04 10:00:16");
  EXPECT_EQ(At(page, 4000, 200), "时间间隔：1秒");
  EXPECT_EQ(At(page, 5500, 200), "打印时间：2026-12-11 09:08:07");
  ASSERT_EQ(page.rects.size(), 18u);
  for (int c = 0; c < 18; ++c) {
    const int x = 300 + 1200 * (c % 6), top = 4350 + 120 * (c / 6);
    EXPECT_EQ(page.rects[c], (PrintRect{x - 100, top, x, top + 100, doc.display.channels[c].color}));
    EXPECT_EQ(At(page, x, top + 20), "CH" + std::to_string(c + 1));  // hidden channels too
  }
  for (const PrintText& t : page.texts) EXPECT_EQ(t.points, t.y == 20 ? kTitlePoints : kLinePoints) << t.text;
}

TEST(PrintPages, GraphStopTimePastTheDataIsTheLastSample) {
  // e x st = 20 lies past the 19 samples: the last sample's time.
  const Document doc(Samples(19), 3, 10, 2, PrintKind::Graph);
  EXPECT_EQ(At(doc.Page(1), 2200, 200), "Stop time：2026-03-04 10:00:18");
  const Document empty({}, 0, 0, 1, PrintKind::Graph);
  EXPECT_EQ(At(empty.Page(1), 200, 200), "Start time：-0001--01--01 -01:-01:-01");
}

}  // namespace
}  // namespace tessaly::output
