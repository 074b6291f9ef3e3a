#pragma once
// What the GUI benchmarks share: the offscreen application they run in, and
// per-run timing reported against a budget.
#include <benchmark/benchmark.h>
#include <QApplication>

#include <time.h>

#include <chrono>
#include <functional>

namespace tessaly::bench {

inline double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Mean wall and CPU time per run and their ratios to the budget: the machines
// here are shared, so the CPU time of the painting thread is the steadier one.
// Returns the mean CPU time in milliseconds.
template <typename Work>
double TimedAgainstBudget(benchmark::State& state, double budgetMs, Work&& work) {
  double wallMs = 0.0, cpuMs = 0.0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadCpuMs();
    work();
    cpuMs += ThreadCpuMs() - cpuStart;
    wallMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
  const auto runs = static_cast<double>(state.iterations());
  state.counters["wall_ms"] = wallMs / runs;
  state.counters["cpu_ms"] = cpuMs / runs;
  state.counters["wall_ratio"] = wallMs / runs / budgetMs;
  state.counters["cpu_ratio"] = cpuMs / runs / budgetMs;
  return cpuMs / runs;
}

// Runs the registered benchmarks inside an application (offscreen unless a
// platform is chosen); `beforeExit` lets widgets kept across runs go while
// the application is still there.
inline void RunGuiBenchmarks(int argc, char** argv, const std::function<void()>& beforeExit = {}) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (beforeExit) beforeExit();
}

}  // namespace tessaly::bench
