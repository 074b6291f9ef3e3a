// Listing the pages of a 1 GiB record file: BuildPageIndex with automatic
// paging (2048 pages of 1024 sectors), budget 0.25 s.
#include <sys/stat.h>

#include "bench_report.h"

#include <chrono>
#include <cstdio>

#include "record/page_index.h"
#include "record_writer.h"
#include "settings/recorder_data.h"
#include "settings/settings_file.h"

namespace {

constexpr double kBudgetSeconds = 0.25;
constexpr uint32_t kSectors = (1u << 30) / 512 - 2;  // 1 GiB with the 2-sector header
double gSeconds = 0.0;

// Written once, real sectors (not sparse), and kept for later runs.
const std::string& BenchFile() {
  static const std::string path = [] {
    const std::string p = "/tmp/tessaly-bench-1gib.D01";
    struct stat st {};
    if (::stat(p.c_str(), &st) != 0 || st.st_size != (1LL << 30) || st.st_blocks * 512 < st.st_size) {
      tessaly::sim::RecordSpec recordSpec;
      recordSpec.channels = 18;
      recordSpec.samplesPerSector = 6;
      recordSpec.sectorCount = kSectors;
      if (!tessaly::sim::WriteRecordFile(p, recordSpec)) std::fprintf(stderr, "cannot write %s\n", p.c_str());
    }
    return p;
  }();
  return path;
}

void BM_ListPagesOf1GiB(benchmark::State& state) {
  tessaly::settings::CRecorderData data;
  tessaly::settings::ApplyDefaultSettings(data);
  data.recordPath = BenchFile();
  std::chrono::duration<double> total{};
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const bool ok = tessaly::record::BuildPageIndex(data);
    total += std::chrono::steady_clock::now() - start;
    if (!ok || data.pages.size() != 2048) state.SkipWithError("the file did not page as expected");
    benchmark::DoNotOptimize(data.pages.data());
  }
  const double seconds = total.count() / static_cast<double>(state.iterations());
  gSeconds = seconds;
  state.counters["seconds"] = seconds;
  state.counters["budget_ratio"] = seconds / kBudgetSeconds;  // below 1 is within the budget
}
BENCHMARK(BM_ListPagesOf1GiB)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (gSeconds > 0) tessaly::bench::ReportBudget("page_index_1GiB", gSeconds * 1e3, kBudgetSeconds * 1e3, "ms");
  return 0;
}
