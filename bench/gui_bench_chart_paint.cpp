// Painting the part graph with 18 series of 65,535 points must take under
// 50 ms; filling those points should take well under a second. Each run
// reports its mean time and the ratio to its budget, and the paint of the
// same chart without points as the fixed cost measured alongside.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "chart/ct_chart.h"
#include "gui_bench_support.h"

namespace {

using tessaly::gui::ChartAxis;
using tessaly::bench::TimedAgainstBudget;
using tessaly::gui::CTChart;

constexpr int kSeries = 18;
constexpr int kPoints = 65535;
constexpr double kPaintBudgetMs = 50.0;
constexpr double kFillBudgetMs = 1000.0;
const QSize kImageSize(1600, 700);

const std::vector<QString>& Labels() {
  static const std::vector<QString> labels = [] {
    std::vector<QString> out;
    out.reserve(kPoints);
    for (int i = 0; i < kPoints; ++i)
      out.push_back(QString::asprintf("2015-01-%2.2d\r%2.2d:%2.2d:%2.2d", 5 + i / 86400, i / 3600 % 24, i / 60 % 60, i % 60));
    return out;
  }();
  return labels;
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
  const std::vector<QString>& labels = Labels();
  for (int s = 0; s < kSeries; ++s) {
    chart.RemoveAllPoints(s);
    const auto colour = static_cast<uint32_t>(0x101010 * (s % 12) + 0x0000C0);
    for (int i = 0; i < points; ++i) {
      if (i % 5000 == 2500)
        chart.AddEmptyPoint(s, labels[static_cast<size_t>(i)]);
      else
        chart.AddPoint(s, Wave(s, i), labels[static_cast<size_t>(i)], colour);
    }
  }
}

void BM_PaintEmptyChart(benchmark::State& state) {
  CTChart chart;
  Configure(chart, 1);
  TimedAgainstBudget(state, kPaintBudgetMs, [&] { benchmark::DoNotOptimize(chart.RenderImage(kImageSize)); });
}

void BM_PaintPartGraph(benchmark::State& state) {
  CTChart chart;
  Configure(chart, static_cast<int>(state.range(0)));
  Fill(chart, static_cast<int>(state.range(1)));
  TimedAgainstBudget(state, kPaintBudgetMs, [&] { benchmark::DoNotOptimize(chart.RenderImage(kImageSize)); });
}

void BM_FillPartGraph(benchmark::State& state) {
  CTChart chart;
  Configure(chart, 1);
  Labels();
  TimedAgainstBudget(state, kFillBudgetMs, [&] { Fill(chart); });
}

}  // namespace

BENCHMARK(BM_PaintEmptyChart)->Unit(benchmark::kMillisecond);
// 65,535 points draw per pixel column; 3000 over 1600 pixels draw every point.
BENCHMARK(BM_PaintPartGraph)
    ->ArgsProduct({{1, 4}, {kPoints, 3000}})
    ->ArgNames({"pen", "points"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillPartGraph)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
  tessaly::bench::RunGuiBenchmarks(argc, argv);
  return 0;
}
