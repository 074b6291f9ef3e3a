#include "chart/ct_chart.h"

#include <gtest/gtest.h>
#include <QTest>

#include <cmath>
#include <limits>
#include <optional>

#include "chart/chart_series.h"
#include "gui_probe.h"
#include "support/temp_dir.h"

namespace tessaly::gui {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// ---- series traces ----

// Deterministic noise, so that every column has its own extremes.
double Noise(size_t i) {
  uint32_t x = static_cast<uint32_t>(i) * 2654435761u;
  x ^= x >> 13;
  return (x % 20001) / 100.0 - 100.0;
}

ChartSeries NoisySeries(size_t count, std::optional<size_t> emptyAt = std::nullopt) {
  ChartSeries series;
  for (size_t i = 0; i < count; ++i) {
    if (i == emptyAt)
      series.AddEmpty("");
    else
      series.Add(Noise(i), "", 0xFF);
  }
  return series;
}

struct Span {
  double low, high;
};

// The columns of a trace in order: the range its vertices cover.
std::vector<std::pair<double, Span>> Columns(const SeriesTrace& trace) {
  std::vector<std::pair<double, Span>> columns;
  for (const SeriesTrace::Run& run : trace.runs)
    for (size_t i = run.begin; i < run.begin + run.count; ++i) {
      const SeriesTrace::Vertex& v = trace.vertices[i];
      if (!columns.empty() && columns.back().first == v.x) {
        columns.back().second.low = std::min(columns.back().second.low, v.value);
        columns.back().second.high = std::max(columns.back().second.high, v.value);
      } else {
        columns.push_back({v.x, {v.value, v.value}});
      }
    }
  return columns;
}

TEST(ChartSeries, SinglePointsBreakIntoRunsAtGaps) {
  ChartSeries series;
  for (int i = 0; i < 10; ++i) {
    if (i == 5)
      series.AddEmpty("gap");
    else
      series.Add(i == 8 ? kNaN : i * 1.5, "", 0xFF);
  }
  const SeriesTrace trace = series.Trace(0.0, 9.0, 800);
  EXPECT_FALSE(trace.columns);
  ASSERT_EQ(trace.runs.size(), 3u);
  EXPECT_EQ(trace.runs[0].count, 5u);
  EXPECT_EQ(trace.runs[1].count, 2u);
  EXPECT_EQ(trace.runs[2].count, 1u);
  EXPECT_EQ(trace.vertices[trace.runs[1].begin].x, 6.0);
  EXPECT_EQ(trace.vertices[trace.runs[2].begin].value, 13.5);
  EXPECT_EQ(trace.low, 0.0);
  EXPECT_EQ(trace.high, 13.5);
}

TEST(ChartSeries, ColumnsHoldTheMinimumAndMaximumOfTheirPoints) {
  // 64 points per column start on bucket boundaries, so each column must
  // hold exactly its own points' extremes; 37 points trail a whole bucket.
  const size_t count = 64 * 1000 + 37;
  const ChartSeries series = NoisySeries(count);
  const SeriesTrace trace = series.Trace(0.0, 64.0 * 1001, 1001);
  ASSERT_TRUE(trace.columns);
  const auto columns = Columns(trace);
  ASSERT_EQ(columns.size(), 1001u);
  for (size_t c = 0; c < columns.size(); ++c) {
    Span expected{HUGE_VAL, -HUGE_VAL};
    for (size_t i = c * 64; i < std::min(count, c * 64 + 64); ++i) {
      expected.low = std::min(expected.low, Noise(i));
      expected.high = std::max(expected.high, Noise(i));
    }
    ASSERT_EQ(columns[c].second.low, expected.low) << "column " << c;
    ASSERT_EQ(columns[c].second.high, expected.high) << "column " << c;
  }
}

TEST(ChartSeries, UnalignedColumnsStrayByLessThanABucket) {
  const ChartSeries series = NoisySeries(50000);
  for (const auto& [first, last, width] : {std::tuple{3.3, 49999.0, 997}, std::tuple{1234.5, 40000.25, 1600}}) {
    SCOPED_TRACE(::testing::Message() << first << ".." << last << " over " << width);
    const SeriesTrace trace = series.Trace(first, last, width);
    const double perColumn = (last - first) / width;
    const size_t bucket = perColumn >= 16 ? 16 : 4;
    const auto columns = Columns(trace);
    ASSERT_GE(columns.size(), static_cast<size_t>(width) - 1);
    for (const auto& [x, span] : columns) {
      const double c = std::floor((x - first) / perColumn);
      const auto from = static_cast<size_t>(std::max(0.0, first + c * perColumn - bucket));
      const auto to = std::min<size_t>(50000, static_cast<size_t>(first + (c + 1) * perColumn + bucket));
      Span near{HUGE_VAL, -HUGE_VAL};
      for (size_t i = from; i < to; ++i) {
        near.low = std::min(near.low, Noise(i));
        near.high = std::max(near.high, Noise(i));
      }
      ASSERT_GE(span.low, near.low) << "at " << x;
      ASSERT_LE(span.high, near.high) << "at " << x;
    }
  }
}

TEST(ChartSeries, AGapStaysAGapAtEveryScale) {
  const ChartSeries series = NoisySeries(65535, 30000);
  for (const int width : {40, 700, 1600, 40000}) {
    SCOPED_TRACE(width);
    const SeriesTrace trace = series.Trace(0.0, 65534.0, width);
    ASSERT_EQ(trace.runs.size(), 2u);
    const SeriesTrace::Run& before = trace.runs[0];
    EXPECT_LT(trace.vertices[before.begin + before.count - 1].x, 30000.0);
    EXPECT_GT(trace.vertices[trace.runs[1].begin].x, 30000.0);
  }
}

TEST(ChartSeries, AChangeOfColourStartsARunFromTheLastVertex) {
  ChartSeries series;
  for (int i = 0; i < 10; ++i) series.Add(i, "", i < 5 ? 0x0000FF : 0xFF0000);
  const SeriesTrace trace = series.Trace(0.0, 9.0, 500);
  ASSERT_EQ(trace.runs.size(), 2u);
  EXPECT_EQ(trace.runs[0].colour, 0x0000FFu);
  EXPECT_EQ(trace.runs[1].colour, 0xFF0000u);
  EXPECT_EQ(trace.vertices[trace.runs[1].begin].x, 4.0);
  EXPECT_EQ(trace.runs[1].count, 6u);
}

// ---- the widget ----

class Chart : public ::testing::Test {
 protected:
  void SetUp() override {
    chart.resize(1000, 500);
    chart.show();
  }

  // `count` points of `series` with the value `value(i)` and labels "L<i>".
  void Points(int series, int count, const std::function<double(int)>& value) {
    for (int i = 0; i < count; ++i) chart.AddPoint(series, value(i), QString("L%1").arg(i), 0x0000FF);
  }

  int MiddleY() const { return chart.height() / 2; }

  CTChart chart;
};

TEST_F(Chart, PointsReadBackByIndexAndOutsideIndexesReadEmpty) {
  ASSERT_EQ(chart.AddLineSeries(), 0);
  ASSERT_EQ(chart.AddLineSeries(), 1);
  chart.AddPoint(1, 2.5, "a", 0x123456);
  chart.AddEmptyPoint(1, "b");
  chart.AddPoint(1, -7.0, "c\rd", 0x123456);
  chart.AddPoint(5, 1.0, "none", 0);
  EXPECT_EQ(chart.PointCount(0), 0);
  ASSERT_EQ(chart.PointCount(1), 3);
  EXPECT_EQ(chart.PointValue(1, 0), 2.5);
  EXPECT_EQ(chart.PointLabel(1, 1), "b");
  EXPECT_TRUE(chart.IsEmptyPoint(1, 1));
  EXPECT_EQ(chart.PointValue(1, 1), 0.0);
  EXPECT_EQ(chart.PointLabel(1, 2), "c\rd");
  for (const auto& [series, point] : {std::pair{1, -1}, std::pair{1, 3}, std::pair{-1, 0}, std::pair{2, 0}}) {
    EXPECT_EQ(chart.PointValue(series, point), 0.0);
    EXPECT_TRUE(chart.PointLabel(series, point).isEmpty());
    EXPECT_FALSE(chart.IsEmptyPoint(series, point));
  }
  chart.RemoveAllPoints(1);
  EXPECT_EQ(chart.PointCount(1), 0);
}

// Points labelled by their sample time read back the time's text, made when
// asked; text labels in the same series keep theirs.
TEST_F(Chart, TimeLabelledPointsReadBackTheirTimeText) {
  chart.AddLineSeries();
  const record::RecordTime valid = record::RecordTime::FromCalendar(2015, 1, 5, 8, 9, 10);
  chart.AddPoint(0, 1.5, valid, 0x123456);
  chart.AddEmptyPoint(0, record::RecordTime{});
  chart.AddPoint(0, 2.5, "text", 0x123456);
  chart.AddPoint(0, -3.0, valid.Add(61 * record::kTicksPerSecond), 0x123456);
  chart.AddEmptyPoint(0, "gap");
  ASSERT_EQ(chart.PointCount(0), 5);
  const QString expected[] = {"2015-01-05\r08:09:10", "-0001--01--01\r-01:-01:-01", "text", "2015-01-05\r08:10:11",
                              "gap"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(chart.PointLabel(0, i), expected[i]) << i;
  EXPECT_EQ(chart.PointValue(0, 0), 1.5);
  EXPECT_TRUE(chart.IsEmptyPoint(0, 1));
  EXPECT_EQ(chart.PointValue(0, 1), 0.0);
  EXPECT_EQ(chart.PointValue(0, 3), -3.0);
  EXPECT_TRUE(chart.IsEmptyPoint(0, 4));
  chart.RemoveAllPoints(0);
  chart.AddPoint(0, 1.0, "after", 0);
  EXPECT_EQ(chart.PointLabel(0, 0), "after") << "a cleared series starts its labels afresh";
}

TEST_F(Chart, PagingShowsOnePageOfPointsAtATime) {
  chart.AddLineSeries();
  Points(0, 1200, [](int i) { return i % 7; });
  EXPECT_EQ(chart.PageCount(), 1);
  const int firstPixel = chart.PixelAtXValue(0);
  chart.SetPointsPerPage(500);
  EXPECT_EQ(chart.PageCount(), 3);
  EXPECT_EQ(chart.CurrentPage(), 1);
  chart.NextPage();
  EXPECT_EQ(chart.CurrentPage(), 2);
  EXPECT_EQ(chart.PixelAtXValue(500), firstPixel);
  EXPECT_NEAR(chart.XValueAtPixel(0, firstPixel), 500.0, 1.0);
  chart.SetCurrentPage(9);
  EXPECT_EQ(chart.CurrentPage(), 3);
  chart.NextPage();
  EXPECT_EQ(chart.CurrentPage(), 3);
  chart.SetCurrentPage(1);
  chart.PreviousPage();
  EXPECT_EQ(chart.CurrentPage(), 1);
  chart.RemoveAllPoints(0);
  EXPECT_EQ(chart.PageCount(), 1);
}

TEST_F(Chart, LegendClickTogglesItsSeriesBeforeReportingTheClick) {
  for (int i = 0; i < 3; ++i) chart.SetSeriesTitle(chart.AddLineSeries(), QString("S%1").arg(i));
  chart.SetLegendCheckBoxes(true);
  std::vector<std::array<int, 4>> clicks;
  std::vector<bool> shownAtClick;
  QObject::connect(&chart, &CTChart::legendClicked, [&](int button, int shift, int x, int y) {
    clicks.push_back({button, shift, x, y});
    shownAtClick.push_back(chart.SeriesShown(chart.LegendEntryAt(x, y)));
  });
  const QPoint entry = chart.LegendEntryRect(1).center();
  EXPECT_EQ(chart.LegendEntryAt(entry.x(), entry.y()), 1);
  EXPECT_EQ(chart.LegendEntryAt(5, 5), -1);
  QTest::mouseClick(&chart, Qt::LeftButton, {}, entry);
  QTest::mouseClick(&chart, Qt::RightButton, Qt::ShiftModifier, entry);
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[0], (std::array<int, 4>{CTChart::kLeftButton, 0, entry.x(), entry.y()}));
  EXPECT_EQ(clicks[1], (std::array<int, 4>{CTChart::kRightButton, CTChart::kShift, entry.x(), entry.y()}));
  EXPECT_EQ(shownAtClick, (std::vector<bool>{false, true}));
  EXPECT_TRUE(chart.SeriesShown(0));

  chart.SetLegendVisible(false);
  EXPECT_EQ(chart.LegendEntryAt(entry.x(), entry.y()), -1);
  EXPECT_TRUE(chart.LegendEntryRect(1).isNull());
}

struct DragCase {
  const char* what;
  bool active;
  double press, release;
  double start, end;  // the band afterwards
};

TEST_F(Chart, BandEdgesFollowTheMouseAndAreReadOnRelease) {
  const DragCase cases[] = {
      {"end to the right", true, 40, 70, 20, 70},   {"start to the left", true, 20, 5, 5, 40},
      {"start past the end", true, 20, 60, 60, 40}, {"end beyond the axis", true, 40, 500, 20, 99},
      {"between the edges", true, 30, 80, 20, 40},  {"inactive band", false, 40, 70, 20, 40},
  };
  chart.AddLineSeries();
  chart.SetLegendVisible(false);
  Points(0, 100, [](int i) { return std::sin(i / 10.0); });
  const int band = chart.AddTool(ChartTool::Band);
  double endAtRelease = -1.0;
  QObject::connect(&chart, &CTChart::mouseReleased, [&] { endAtRelease = chart.BandEnd(band); });
  for (const DragCase& c : cases) {
    SCOPED_TRACE(c.what);
    chart.SetBandStart(band, 20);
    chart.SetBandEnd(band, 40);
    chart.SetToolActive(band, c.active);
    const QPoint press(chart.PixelAtXValue(c.press), MiddleY());
    const QPoint release(std::min(chart.width() - 1, chart.PixelAtXValue(c.release)), MiddleY());
    QTest::mousePress(&chart, Qt::LeftButton, {}, press);
    QTest::mouseMove(&chart, release);
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, release);
    EXPECT_NEAR(chart.BandStart(band), c.start, 0.2);
    EXPECT_NEAR(chart.BandEnd(band), c.end, 0.2);
    EXPECT_EQ(endAtRelease, chart.BandEnd(band));
  }
}

TEST_F(Chart, MouseEventsReportPositionButtonAndShift) {
  chart.AddLineSeries();
  // The application keeps the modifiers of the last mouse event; start plain.
  QTest::mouseClick(&chart, Qt::LeftButton, {}, QPoint(5, 5));
  std::vector<std::array<int, 3>> moves;
  std::vector<std::array<int, 4>> releases;
  QObject::connect(&chart, &CTChart::mouseMoved, [&](int shift, int x, int y) { moves.push_back({shift, x, y}); });
  QObject::connect(&chart, &CTChart::mouseReleased, [&](int button, int shift, int x, int y) {
    releases.push_back({button, shift, x, y});
  });
  MoveMouse(chart, QPoint(300, 200));
  QTest::mouseClick(&chart, Qt::MiddleButton, Qt::ControlModifier | Qt::AltModifier, QPoint(310, 220));
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(moves.back(), (std::array<int, 3>{0, 300, 200}));
  ASSERT_EQ(releases.size(), 1u);
  EXPECT_EQ(releases[0], (std::array<int, 4>{CTChart::kMiddleButton, CTChart::kControl | CTChart::kAlt, 310, 220}));
}

TEST_F(Chart, BottomLabelsAreThinnedSoTheyNeverOverlap) {
  chart.AddLineSeries();
  const record::RecordTime start = record::RecordTime::FromCalendar(2015, 1, 5, 0, 0, 0);
  for (int i = 0; i < 65535; ++i) {
    const QString text = QString::asprintf("2015-01-05\r%2.2d:%2.2d:%2.2d", i / 3600, i / 60 % 60, i % 60);
    if (i % 2 == 0)
      chart.AddPoint(0, i % 100, text, 0xFF);
    else
      chart.AddPoint(0, i % 100, start.Add(i * record::kTicksPerSecond), 0xFF);  // the same text, made on demand
  }
  for (const int increment : {0, 59}) {
    SCOPED_TRACE(increment);
    chart.SetBottomLabelIncrement(increment);
    const std::vector<QRect> labels = chart.BottomLabelRects();
    ASSERT_GE(labels.size(), 3u);
    for (size_t i = 0; i < labels.size(); ++i) {
      EXPECT_GE(labels[i].height(), 2 * chart.fontMetrics().height());
      if (i > 0) {
        EXPECT_GT(labels[i].left(), labels[i - 1].right());
      }
    }
  }
}

TEST_F(Chart, ExportedPictureLeavesAGapAtAnEmptyPointAtAnyPointCount) {
  chart.AddLineSeries();
  chart.SetLegendVisible(false);
  chart.SetGridVisible(ChartAxis::Left, false);
  chart.SetGridVisible(ChartAxis::Bottom, false);
  chart.SetLeftAxisRange(0.0, 100.0);
  for (const auto& [count, pen] : {std::pair{400, 1}, std::pair{400, 4}, std::pair{65535, 1}, std::pair{65535, 4}}) {
    SCOPED_TRACE(::testing::Message() << count << " points, pen " << pen);
    chart.SetSeriesPenWidth(0, pen);
    chart.RemoveAllPoints(0);
    for (int i = 0; i < count; ++i) {
      if (i == count / 2)
        chart.AddEmptyPoint(0, "");
      else
        chart.AddPoint(0, 50.0, "", 0x00C000);
    }
    const QImage image = chart.RenderImage(QSize(800, 500), 0xFFFFFF);
    ASSERT_EQ(image.size(), QSize(800, 500));
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    int row = -1;
    for (int y = 0; y < image.height() && row < 0; ++y)
      if (RunsOnRow(image, y, 0x00C000).size() == 2) row = y;
    ASSERT_GE(row, 0) << "no row with the line broken in two";
    const auto runs = RunsOnRow(image, row, 0x00C000);
    EXPECT_GT(runs[0].second - runs[0].first, 300);
    EXPECT_GT(runs[1].second - runs[1].first, 300);
    EXPECT_GE(runs[1].first - runs[0].second, 2);
    EXPECT_LE(runs[1].first - runs[0].second, 6);
  }
}

TEST_F(Chart, SavesTheBitmapOfTheGivenSize) {
  chart.AddLineSeries();
  Points(0, 50, [](int i) { return i; });
  testing::TempDir dir;
  ASSERT_TRUE(chart.SaveBitmap(QString::fromStdString(dir.File("chart.bmp")), QSize(800, 500)));
  const QImage saved(QString::fromStdString(dir.File("chart.bmp")), "BMP");
  EXPECT_EQ(saved.size(), QSize(800, 500));
  EXPECT_FALSE(chart.SaveBitmap(QString::fromStdString(dir.File("missing/chart.bmp")), QSize(800, 500)));
  const QString folder = qEnvironmentVariable("TESSALY_GRAPH_PNG_DIR");
  if (!folder.isEmpty()) chart.SaveBitmap(folder + "/chart_export.png", QSize(800, 500));
}

}  // namespace
}  // namespace tessaly::gui
