#pragma once
// Mean time per iteration of every benchmark of a run, kept so that a program
// can print the ratio of two of them measured in the same run. Ratios use CPU
// time: the machines are shared, and waiting for a core is not the work.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace tessaly::bench {

class TimeCollector : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
      // By the name it was registered under, without its settings (min_time, ...).
      times_[run.run_name.function_name] = {run.GetAdjustedRealTime() / unit, run.GetAdjustedCPUTime() / unit};
    }
    ConsoleReporter::ReportRuns(runs);
  }

  struct Seconds {
    double real = 0.0;
    double cpu = 0.0;
    bool Measured() const { return cpu > 0.0; }
  };

  // Seconds per iteration; zero when the benchmark did not run (filtered out).
  Seconds Of(const std::string& name) const {
    const auto it = times_.find(name);
    return it == times_.end() ? Seconds{} : it->second;
  }

  // Throughput of `work` over that of `baseline` on the same bytes: the
  // baseline's time over the work's.
  double Ratio(const std::string& work, const std::string& baseline) const {
    const Seconds w = Of(work);
    const Seconds b = Of(baseline);
    return w.Measured() && b.Measured() ? b.cpu / w.cpu : 0.0;
  }

 private:
  std::map<std::string, Seconds> times_;
};

// Repetitions of a benchmark that sets its own: a fifth under
// tools/bench --quick.
inline int Repetitions(int full) { return std::getenv("TESSALY_BENCH_QUICK") ? std::max(1, full / 5) : full; }

// One line per budget, which tools/bench gathers into its closing table:
// "budget <name> <measured> <limit> <unit> <at-most|at-least>". A budget is
// met when the measured figure lies on the right side of its limit.
enum class Limit { AtMost, AtLeast };

inline void ReportBudget(const char* name, double measured, double limit, const char* unit,
                         Limit kind = Limit::AtMost) {
  std::printf("budget %s %.4g %.4g %s %s\n", name, measured, limit, unit,
              kind == Limit::AtMost ? "at-most" : "at-least");
  std::fflush(stdout);
}

}  // namespace tessaly::bench
