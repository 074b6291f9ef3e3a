// FillList of 65,535 rows against its budget of 0.5 s, and against a
// baseline of the same run: printf making the same texts, which is what a
// fill costs without a grid and without the list's faster number printing.
// Then one paint of the filled list at its top and at its bottom: scrolling
// costs the same everywhere.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>

#include "base/format.h"
#include "base/texts.h"
#include "bench_report.h"
#include "gui_bench_support.h"
#include "recorder/recorder_data.h"
#include "viewer/data_list_dlg.h"
#include "widgets/grid_ctrl.h"

namespace {

using namespace tessaly;
using Clock = std::chrono::steady_clock;

constexpr size_t kSamples = 65535;
constexpr double kBudgetSeconds = 0.5;

// Seconds per run, on the wall clock and on this thread's CPU clock: the
// machines here are shared, so the wall clock also counts waiting for a CPU.
struct Seconds {
  double wall = 0;
  double cpu = 0;
};
Seconds fill;
Seconds printfTexts;

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void Prepare(recorder::CRecorderData& data) {
  data.autoInterval = 0;
  data.listInterval = 1;
  for (auto& channel : data.channels) channel.shown = 1;
  data.samples.clear();
  for (size_t i = 0; i < kSamples; ++i) {
    record::Sample s{};
    s.time = record::RecordTime::FromCalendar(2024, 3, 1, 0, 0, static_cast<int>(i));
    for (int k = 0; k < record::kChannelCount; ++k) {
      s.decimals[k] = k % 4;
      s.values[k] = static_cast<float>(i % 1000) * 0.37f - 50.0f + static_cast<float>(k);
    }
    data.samples.push_back(s);
  }
}

recorder::CRecorderData& Data() {
  static recorder::CRecorderData data;
  static bool ready = (Prepare(data), true);
  (void)ready;
  return data;
}

template <typename Work>
Seconds Timed(benchmark::State& state, Work work) {
  Seconds total;
  for (auto _ : state) {
    const auto wallStart = Clock::now();
    const double cpuStart = ThreadCpuSeconds();
    work();
    total.cpu += ThreadCpuSeconds() - cpuStart;
    total.wall += std::chrono::duration<double>(Clock::now() - wallStart).count();
  }
  const auto runs = static_cast<double>(state.iterations());
  return {total.wall / runs, total.cpu / runs};
}

void BM_FillList65535Rows(benchmark::State& state) {
  gui::CDataListDlg page(Data(), nullptr);
  fill = Timed(state, [&] { page.FillList(); });
  state.counters["budget_ratio_cpu"] = fill.cpu / kBudgetSeconds;
  state.counters["budget_ratio_wall"] = fill.wall / kBudgetSeconds;
}
BENCHMARK(BM_FillList65535Rows)->Unit(benchmark::kMillisecond)->Iterations(tessaly::bench::Repetitions(5));

void BM_PrintfTheSameTexts(benchmark::State& state) {
  const recorder::CRecorderData& data = Data();
  const char* indexFormat = base::Text(base::TextId::ListIndexFormat, 0);
  const char* timeFormat = base::Text(base::TextId::ListTimeFormat, 0);
  printfTexts = Timed(state, [&] {
    size_t bytes = 0;
    for (size_t r = 0; r < kSamples; ++r) {
      const record::Sample s = data.samples[r];
      const record::CalendarFields t = s.time.Fields();
      bytes += base::FormatText(indexFormat, static_cast<int>(r)).size();
      bytes += base::FormatText(timeFormat, t.year, t.month, t.day, t.hour, t.minute, t.second).size();
      for (int k = 0; k < record::kChannelCount; ++k) {
        bytes += base::Format("%.*f", s.decimals[k], static_cast<double>(s.values[k])).size();
      }
    }
    benchmark::DoNotOptimize(bytes);
  });
  state.counters["fill_vs_printf"] = printfTexts.cpu > 0 ? fill.cpu / printfTexts.cpu : 0;
}
BENCHMARK(BM_PrintfTheSameTexts)->Unit(benchmark::kMillisecond)->Iterations(tessaly::bench::Repetitions(5));

// Made by the first paint run; it goes before the application does.
std::unique_ptr<gui::CDataListDlg> gPaintedPage;

// arg 0: the list scrolled to its top, 1: to its bottom.
void BM_PaintFilledList(benchmark::State& state) {
  if (!gPaintedPage) {
    gPaintedPage = std::make_unique<gui::CDataListDlg>(Data(), nullptr);
    gPaintedPage->FillList();
    gPaintedPage->resize(1200, 700);
    gPaintedPage->show();
    QApplication::processEvents();
  }
  QScrollBar& bar = *gPaintedPage->Grid().verticalScrollBar();
  bar.setValue(state.range(0) == 0 ? 0 : bar.maximum());
  for (auto _ : state) benchmark::DoNotOptimize(gPaintedPage->grab());
}
BENCHMARK(BM_PaintFilledList)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  tessaly::bench::RunGuiBenchmarks(argc, argv, [] { gPaintedPage.reset(); });
  if (fill.cpu > 0) {
    std::printf("FillList of %zu rows: %.3f s CPU (%.3f s wall), %.2f (%.2f) of the 0.5 s budget", kSamples, fill.cpu,
                fill.wall, fill.cpu / kBudgetSeconds, fill.wall / kBudgetSeconds);
    if (printfTexts.cpu > 0) std::printf(", %.2fx printf making its texts", fill.cpu / printfTexts.cpu);
    std::printf("\n");
    tessaly::bench::ReportBudget("fill_list_65535_rows", fill.cpu * 1e3, kBudgetSeconds * 1e3, "ms");
  }
  return 0;
}
