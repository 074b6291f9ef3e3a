#include "analysis/graph_fill.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/sample_fixture.h"

namespace tessaly::analysis {
namespace {

using recorder::CRecorderData;

void Load(CRecorderData& data, size_t count, int32_t autoInterval, int32_t partInterval = 1) {
  data.samples = tessaly::testing::BufferOf(std::vector<record::Sample>(count));
  data.autoInterval = autoInterval;
  data.partGraphInterval = partInterval;
}

struct AllGraphCase {
  size_t count;
  int32_t autoInterval;
  int32_t storedInterval;
  int32_t a;
  uint32_t points;
  uint32_t bandLow, bandHigh;
  int32_t p;
  uint32_t partFirst, partEnd;
};

TEST(GraphFill, AllGraphFillPlacesBandAndPartWindow) {
  const AllGraphCase cases[] = {
      // 476 x 0.45 = 214.2 and 476 x 0.55 = 261.8; P = 47 x 21 / 500 + 1.
      {10000, 1, 9, 21, 476, 214, 261, 2, 2247, 2740},
      {499, 1, 9, 1, 499, 224, 274, 1, 224, 274},
      {500, 1, 9, 2, 250, 112, 137, 1, 224, 274},
      {100000, 1, 9, 201, 497, 223, 273, 21, 2134, 2613},
      {0, 1, 9, 1, 0, 0, 0, 1, 0, 0},
      {1, 1, 9, 1, 1, 0, 0, 1, 0, 0},
      // Without autoInterval the stored interval stands: 21 x 214 / 7, 21 x 261 / 7.
      {10000, 0, 7, 21, 476, 214, 261, 7, 642, 783},
      // A stored interval of 0 counts as 1 and is left as it is.
      {10000, 0, 0, 21, 476, 214, 261, 0, 4494, 5481},
  };
  for (const AllGraphCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.count << " samples, autoInterval " << c.autoInterval);
    CRecorderData data;
    Load(data, c.count, c.autoInterval, c.storedInterval);
    const uint32_t points = SetAllGraphInterval(data);
    EXPECT_EQ(data.allGraphInterval, c.a);
    EXPECT_EQ(points, c.points);
    const PointRun run = AllGraphPoints(points);
    EXPECT_EQ(run.first, 0u);
    EXPECT_EQ(run.end, c.points);
    EXPECT_FALSE(run.stopped);
    const WindowBand band = PlaceWindowBand(data, points);
    EXPECT_EQ(band.low, c.bandLow);
    EXPECT_EQ(band.high, c.bandHigh);
    EXPECT_EQ(data.partGraphInterval, c.p);
    EXPECT_EQ(data.partFirst, c.partFirst);
    EXPECT_EQ(data.partEnd, c.partEnd);
  }
}

TEST(GraphFill, AnEmptyBufferGivesAnEmptyPartWindow) {
  CRecorderData data;
  Load(data, 0, 1);
  PlaceWindowBand(data, SetAllGraphInterval(data));
  const PointRun run = PartGraphPoints(data);
  EXPECT_EQ(run.end - run.first, 0u);
  EXPECT_FALSE(run.stopped);
}

struct PartWindowCase {
  const char* what;
  size_t count;
  int32_t interval;
  uint32_t first, end;
  PointRun expected;
};

TEST(GraphFill, PartGraphDrawsOnlyAWindowBelowItsPointCount) {
  const PartWindowCase cases[] = {
      {"inside", 1000, 2, 10, 20, {10, 20, false}},
      {"end at nP", 1000, 2, 10, 500, {0, 0, false}},
      {"end just below nP", 1000, 2, 10, 499, {10, 499, false}},
      {"start at end", 1000, 2, 20, 20, {0, 0, false}},
      {"start after end", 1000, 2, 30, 20, {0, 0, false}},
      {"wrapped start", 1000, 2, 0xFFFFFFF0u, 20, {0, 0, false}},
      {"crosses the point limit", 70000, 1, 65530, 65540, {65530, 65535, true}},
      {"starts at the point limit", 70000, 1, 65535, 65600, {65535, 65535, true}},
      {"ends at the point limit", 70000, 1, 65530, 65535, {65530, 65535, false}},
  };
  for (const PartWindowCase& c : cases) {
    SCOPED_TRACE(c.what);
    CRecorderData data;
    Load(data, c.count, 0, c.interval);
    data.partFirst = c.first;
    data.partEnd = c.end;
    const PointRun run = PartGraphPoints(data);
    EXPECT_EQ(run.end - run.first, c.expected.end - c.expected.first);
    if (c.expected.end > c.expected.first) {
      EXPECT_EQ(run.first, c.expected.first);
    }
    EXPECT_EQ(run.stopped, c.expected.stopped);
  }
}

// After a load of 10,000 samples: A = 21, P = 2.
void LoadTenThousand(CRecorderData& data, int32_t autoInterval) {
  Load(data, 10000, autoInterval, 2);
  PlaceWindowBand(data, SetAllGraphInterval(data));
  ASSERT_EQ(data.partGraphInterval, 2);
}

TEST(GraphFill, BandDragSetsWindowAndIntervalInEitherDirection) {
  for (const bool mirrored : {false, true}) {
    SCOPED_TRACE(mirrored ? "end left of start" : "start left of end");
    CRecorderData data;
    LoadTenThousand(data, 1);
    if (mirrored)
      MovePartWindow(data, 261.0, 214.0);
    else
      MovePartWindow(data, 214.0, 261.0);
    // 214 x 21 / 2 = 2247 and 261 x 21 / 2 = 2740.5 give P = 493 x 2 / 1000 + 1 = 1.
    EXPECT_EQ(data.partGraphInterval, 1);
    EXPECT_EQ(data.partFirst, 4494u);
    EXPECT_EQ(data.partEnd, 5481u);
  }
}

TEST(GraphFill, BandDragWithoutAutoIntervalKeepsIt) {
  CRecorderData data;
  LoadTenThousand(data, 0);
  MovePartWindow(data, 100.5, 300.25);
  EXPECT_EQ(data.partGraphInterval, 2);
  EXPECT_EQ(data.partFirst, 1055u);  // 100.5 x 21 / 2 = 1055.25
  EXPECT_EQ(data.partEnd, 3152u);    // 300.25 x 21 / 2 = 3152.625
}

TEST(GraphFill, BandDragRoundsQuotientsToSinglePrecisionFirst) {
  CRecorderData data;
  LoadTenThousand(data, 0);
  // low x 21 / 2 is 2247.99999 in double precision, 2248 in single.
  const double low = (2248.0 - 1e-5) * 2.0 / 21.0;
  ASSERT_LT(std::trunc(low * 21.0 / 2.0), 2248.0);
  MovePartWindow(data, low, 300.0);
  EXPECT_EQ(data.partFirst, 2248u);
}

TEST(GraphFill, BandLeftOfPointZeroDrawsNothing) {
  for (const auto& [start, end] : {std::pair{-5.0, -1.0}, std::pair{-3.0, 100.0}}) {
    SCOPED_TRACE(::testing::Message() << start << " to " << end);
    CRecorderData data;
    LoadTenThousand(data, 1);
    MovePartWindow(data, start, end);
    const PointRun run = PartGraphPoints(data);
    EXPECT_EQ(run.end - run.first, 0u);
  }
}

struct PlotCase {
  int32_t mode;
  float value;
  GraphKind graph;
  PlotPoint::Kind kind;
  double plotted;
};

TEST(GraphFill, PlottedValuesAndMarkersByShowMode) {
  using Kind = PlotPoint::Kind;
  const PlotCase cases[] = {
      // Percentage of the range 0..200, markers included.
      {0, 50.0f, GraphKind::All, Kind::Normal, 25.0},
      {0, 50.0f, GraphKind::Part, Kind::Normal, 25.0},
      {0, 45000.0f, GraphKind::Part, Kind::Normal, 22500.0},
      // Values: the all graph drops only what lies beyond +-1e10 ...
      {1, 45000.0f, GraphKind::All, Kind::Normal, 45000.0},
      {1, -19999.0f, GraphKind::All, Kind::Normal, -19999.0},
      {1, 9.9e9f, GraphKind::All, Kind::Normal, 9.9e9f},
      {1, 1e10f, GraphKind::All, Kind::Empty, 0.0},
      {1, -1e10f, GraphKind::All, Kind::Empty, 0.0},
      // ... the part graph everything from the markers on.
      {1, 45000.0f, GraphKind::Part, Kind::Empty, 0.0},
      {1, -19999.0f, GraphKind::Part, Kind::Empty, 0.0},
      {1, 50000.0f, GraphKind::Part, Kind::Empty, 0.0},
      {1, 44999.5f, GraphKind::Part, Kind::Normal, 44999.5},
      {1, -19998.5f, GraphKind::Part, Kind::Normal, -19998.5},
      // Other modes plot nothing.
      {2, 50.0f, GraphKind::All, Kind::None, 0.0},
      {-1, 50.0f, GraphKind::Part, Kind::None, 0.0},
  };
  CRecorderData data;
  data.channels[3].rangeLow = 0.0f;
  data.channels[3].rangeHigh = 200.0f;
  for (const PlotCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "mode " << c.mode << ", value " << c.value << ", "
                                      << (c.graph == GraphKind::All ? "all" : "part") << " graph");
    data.yAxisMode = c.mode;
    const PlotPoint point = PlotValue(data, 3, c.value, c.graph);
    EXPECT_EQ(point.kind, c.kind);
    if (c.kind == Kind::Normal) {
      EXPECT_DOUBLE_EQ(point.value, c.plotted);
    }
  }
}

TEST(GraphFill, PercentageIsComputedInSinglePrecision) {
  CRecorderData data;
  data.yAxisMode = 0;
  data.channels[0].rangeLow = 0.0f;
  data.channels[0].rangeHigh = 3.0f;
  const PlotPoint point = PlotValue(data, 0, 1.0f, GraphKind::Part);
  EXPECT_EQ(point.value, static_cast<double>(100.0f / 3.0f));
  EXPECT_NE(point.value, 100.0 / 3.0);
}

TEST(GraphFill, PointTextHoldsDateAndTimeOnTwoLines) {
  EXPECT_EQ(PointText(record::RecordTime::FromCalendar(2015, 1, 5, 8, 9, 10)), "2015-01-05\r08:09:10");
  EXPECT_EQ(PointText(record::RecordTime{record::RecordTimeStatus::Invalid, 0}), "-0001--01--01\r-01:-01:-01");
}

}  // namespace
}  // namespace tessaly::analysis
