// Painting the part graph with 18 series of 65,535 points must take under
// 16 ms; the viewer's fill of those points from decoded samples under 60 ms.
// Each run reports its mean time and the ratio to its budget, and the paint
// of the same chart without points as the fixed cost measured alongside.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

#include "bench_report.h"
#include "chart/ct_chart.h"
#include "gui_bench_support.h"
#include "record/sector.h"
#include "record_writer.h"
#include "recorder/recorder_data.h"
#include "settings/settings_file.h"
#include "viewer/data_graph_dlg.h"

namespace {

using tessaly::bench::TimedAgainstBudget;
using tessaly::gui::ChartAxis;
using tessaly::gui::CTChart;

constexpr int kSeries = 18;
constexpr int kPoints = 65535;
constexpr double kPaintBudgetMs = 16.0;
constexpr double kFillBudgetMs = 60.0;
const QSize kImageSize(1600, 700);

// Sample times one second apart, as the viewer labels its points.
tessaly::record::RecordTime PointTime(int i) {
  static const tessaly::record::RecordTime start = tessaly::record::RecordTime::FromCalendar(2015, 1, 5, 0, 0, 0);
  return start.Add(i * tessaly::record::kTicksPerSecond);
}

double Wave(int series, int i) {
  return 50.0 + 2.0 * series + 30.0 * std::sin(i / 200.0 + series * 0.7) + 5.0 * std::sin(i / 23.0 + series);
}

// Like the part graph: legend with check boxes, grid with minor grid.
void Configure(CTChart& chart, int penWidth) {
  chart.SetLegendCheckBoxes(true);
  chart.SetMinorGrid(ChartAxis::Bottom, 9, 0xD3D3D3);
  chart.SetMinorGrid(ChartAxis::Left, 4, 0xD3D3D3);
  chart.SetBottomLabelIncrement(59);
  for (int s = 0; s < kSeries; ++s) {
    chart.AddLineSeries();
    chart.SetSeriesTitle(s, QString("CH%1").arg(s + 1));
    chart.SetSeriesPenWidth(s, penWidth);
  }
}

// Every series with a gap (a marker) every 5000 points.
void Fill(CTChart& chart, int points = kPoints) {
  for (int s = 0; s < kSeries; ++s) {
    chart.RemoveAllPoints(s);
    const auto colour = static_cast<uint32_t>(0x101010 * (s % 12) + 0x0000C0);
    for (int i = 0; i < points; ++i) {
      if (i % 5000 == 2500)
        chart.AddEmptyPoint(s, PointTime(i));
      else
        chart.AddPoint(s, Wave(s, i), PointTime(i), colour);
    }
  }
}

// By pen width, from the last (the measured) run of each: the runs that
// find the iteration count come first.
std::map<int64_t, double> gPaintMs;
double gViewerFillMs = 0.0;

void BM_PaintEmptyChart(benchmark::State& state) {
  CTChart chart;
  Configure(chart, 1);
  TimedAgainstBudget(state, kPaintBudgetMs, [&] { benchmark::DoNotOptimize(chart.RenderImage(kImageSize)); });
}

void BM_PaintPartGraph(benchmark::State& state) {
  CTChart chart;
  Configure(chart, static_cast<int>(state.range(0)));
  Fill(chart, static_cast<int>(state.range(1)));
  const double ms =
      TimedAgainstBudget(state, kPaintBudgetMs, [&] { benchmark::DoNotOptimize(chart.RenderImage(kImageSize)); });
  if (state.range(1) == kPoints) gPaintMs[state.range(0)] = ms;
}

void BM_FillPartGraph(benchmark::State& state) {
  CTChart chart;
  Configure(chart, 1);
  TimedAgainstBudget(state, kFillBudgetMs, [&] { Fill(chart); });
}

// A page's decoded samples, 18 channels, as a load leaves them.
void Load(tessaly::recorder::CRecorderData& data, size_t samples) {
  tessaly::sim::RecordSpec recordSpec;
  recordSpec.channels = kSeries;
  recordSpec.samplesPerSector = 6;
  recordSpec.decimals.fill(2);
  tessaly::record::DecodeState decodeState;
  unsigned char sector[tessaly::record::kSectorSize];
  for (uint32_t i = 0; data.samples.size() < samples; ++i) {
    tessaly::sim::BuildSector(recordSpec, i, sector);
    tessaly::record::DecodeSector(sector, decodeState, data.samples);
  }
}

// The viewer's FillPartGraph at interval 1 over the first 65,535 samples.
void BM_ViewerFillPartGraph(benchmark::State& state) {
  tessaly::recorder::CRecorderData data;
  tessaly::settings::ApplyDefaultSettings(data);
  Load(data, kPoints + 1);
  data.autoInterval = 0;
  data.partGraphInterval = 1;
  data.partFirst = 0;
  data.partEnd = kPoints;
  tessaly::gui::CDataGraphDlg page(data, nullptr);
  gViewerFillMs = TimedAgainstBudget(state, kFillBudgetMs, [&] { page.FillPartGraph(); });
  state.counters["points_per_channel"] = page.PartGraph().PointCount(0);
}

}  // namespace

BENCHMARK(BM_PaintEmptyChart)->Unit(benchmark::kMillisecond);
// 65,535 points draw per pixel column; 3000 over 1600 pixels draw every point.
BENCHMARK(BM_PaintPartGraph)
    ->ArgsProduct({{1, 4}, {kPoints, 3000}})
    ->ArgNames({"pen", "points"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillPartGraph)->Unit(benchmark::kMillisecond)->Iterations(tessaly::bench::Repetitions(5));
BENCHMARK(BM_ViewerFillPartGraph)->Unit(benchmark::kMillisecond)->Iterations(tessaly::bench::Repetitions(10));

int main(int argc, char** argv) {
  tessaly::bench::RunGuiBenchmarks(argc, argv);
  double paintMs = 0.0;
  for (const auto& [pen, ms] : gPaintMs) paintMs = std::max(paintMs, ms);
  if (paintMs > 0) tessaly::bench::ReportBudget("paint_part_graph_18x65535", paintMs, kPaintBudgetMs, "ms");
  if (gViewerFillMs > 0) tessaly::bench::ReportBudget("fill_part_graph_18x65535", gViewerFillMs, kFillBudgetMs, "ms");
  return 0;
}
