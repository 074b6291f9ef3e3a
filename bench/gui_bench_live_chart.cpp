// One live poll on the real-time page: 18 points added to a chart that holds
// 12,500 points per series already (a store just before its rotation), the
// last page followed, and the chart repainted, must take under 5 ms. Reports
// the mean time and its ratio to the budget.
#include <QApplication>
#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <cmath>
#include <string>

#include "app/main_frame.h"
#include "app/prompt_service.h"
#include "chart/ct_chart.h"
#include "realtime/child_frame2.h"
#include "settings/recorder_data.h"
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

double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

void Poll(CChildFrame2& page, int i) {
  const std::string label = Label(i);
  for (int s = 0; s < kSeries; ++s) page.AddPoint(s, Wave(s, i), label, 0x0000C0u + 0x101010u * (s % 12));
  page.SetCurrentPage(page.PageCount());
}

void BM_LivePollAndRepaint(benchmark::State& state) {
  tessaly::settings::CRecorderData data;
  tessaly::settings::ApplyDefaultSettings(data);
  tessaly::gui::QtPromptService prompts(data);
  tessaly::gui::CMainFrame frame(data, prompts);
  frame.resize(1600, 900);
  frame.show();
  CChildFrame2* page = frame.NewRealtimePage();
  for (int i = 0; i < kPointsBefore; ++i) Poll(*page, i);
  QApplication::processEvents();
  int next = kPointsBefore;
  double wallMs = 0.0, cpuMs = 0.0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadCpuMs();
    Poll(*page, next++);
    page->chart()->repaint();
    cpuMs += ThreadCpuMs() - cpuStart;
    wallMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
  const auto runs = static_cast<double>(state.iterations());
  state.counters["wall_ms"] = wallMs / runs;
  state.counters["cpu_ms"] = cpuMs / runs;
  state.counters["wall_ratio"] = wallMs / runs / kBudgetMs;
  state.counters["cpu_ratio"] = cpuMs / runs / kBudgetMs;
}

}  // namespace

BENCHMARK(BM_LivePollAndRepaint)->Unit(benchmark::kMillisecond)->Iterations(200);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
