// One live poll on the real-time page: 18 points added to a chart that holds
// 12,500 points per series already (a store just before its rotation), the
// last page followed, and the chart repainted, must take under 5 ms. Reports
// the mean time and its ratio to the budget.
#include <benchmark/benchmark.h>
#include <QApplication>

#include <cmath>
#include <cstdio>
#include <string>

#include "app/main_frame.h"
#include "app/prompt_service.h"
#include "bench_report.h"
#include "chart/ct_chart.h"
#include "gui_bench_support.h"
#include "realtime/child_frame2.h"
#include "recorder/recorder_data.h"
#include "settings/settings_file.h"

namespace {

using tessaly::gui::CChildFrame2;

constexpr int kSeries = 18;
constexpr int kPointsBefore = 12'500;
constexpr double kBudgetMs = 5.0;

double Wave(int series, int i) { return 50.0 + 2.0 * series + 30.0 * std::sin(i / 40.0 + series * 0.7); }

std::string Label(int i) {
  char text[32];
  std::snprintf(text, sizeof text, "2015-01-05 %2.2d:%2.2d:%2.2d", i / 3600 % 24, i / 60 % 60, i % 60);
  return text;
}

void Poll(CChildFrame2& page, int i) {
  const std::string label = Label(i);
  for (int s = 0; s < kSeries; ++s) page.AddPoint(s, Wave(s, i), label, 0x0000C0u + 0x101010u * (s % 12));
  page.SetCurrentPage(page.PageCount());
}

double gPollMs = 0.0;

void BM_LivePollAndRepaint(benchmark::State& state) {
  tessaly::recorder::CRecorderData data;
  tessaly::settings::ApplyDefaultSettings(data);
  tessaly::gui::QtPromptService prompts(data);
  tessaly::gui::CMainFrame frame(data, prompts);
  frame.resize(1600, 900);
  frame.show();
  CChildFrame2* page = frame.NewRealtimePage();
  for (int i = 0; i < kPointsBefore; ++i) Poll(*page, i);
  QApplication::processEvents();
  int next = kPointsBefore;
  gPollMs = tessaly::bench::TimedAgainstBudget(state, kBudgetMs, [&] {
    Poll(*page, next++);
    page->chart()->repaint();
  });
}

}  // namespace

BENCHMARK(BM_LivePollAndRepaint)->Unit(benchmark::kMillisecond)->Iterations(200);

int main(int argc, char** argv) {
  tessaly::bench::RunGuiBenchmarks(argc, argv);
  if (gPollMs > 0) tessaly::bench::ReportBudget("live_poll_12500_points", gPollMs, kBudgetMs, "ms");
  return 0;
}
