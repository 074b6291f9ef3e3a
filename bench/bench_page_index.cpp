// Listing the pages of a 1 GiB record file, and of a folder of 64 record
// files of 64 MiB (one recording copied off in parts): BuildPageIndex with
// automatic paging (2048 and 8192 pages of 1024 sectors), budget 0.25 s each.
#include <sys/stat.h>

#include "bench_report.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "record/record_set.h"
#include "record_writer.h"
#include "recorder/build_page_index.h"
#include "recorder/recorder_data.h"
#include "settings/settings_file.h"

namespace {

constexpr double kBudgetSeconds = 0.25;
constexpr uint32_t kSectors = (1u << 30) / 512 - 2;  // 1 GiB with the 2-sector header
constexpr uint32_t kParts = 64;
constexpr uint32_t kPartSectors = (64u << 20) / 512 - 2;  // 64 MiB with the 2-sector header
double gSeconds = 0.0;
double gFolderSeconds = 0.0;

tessaly::sim::RecordSpec BenchSpec(uint32_t sectors) {
  tessaly::sim::RecordSpec recordSpec;
  recordSpec.channels = 18;
  recordSpec.samplesPerSector = 6;
  recordSpec.sectorCount = sectors;
  return recordSpec;
}

// A real file of `size` bytes (not sparse) is there already.
bool Written(const std::string& path, long long size) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && st.st_size == size && st.st_blocks * 512 >= st.st_size;
}

// Written once and kept for later runs.
const std::string& BenchFile() {
  static const std::string path = [] {
    const std::string p = "/tmp/tessaly-bench-1gib.D01";
    if (!Written(p, 1LL << 30) && !tessaly::sim::WriteRecordPart(p, BenchSpec(kSectors), 0, kSectors))
      std::fprintf(stderr, "cannot write %s\n", p.c_str());
    return p;
  }();
  return path;
}

// One recording in 64 consecutive files, written once and kept for later runs.
const std::string& BenchFolder() {
  static const std::string folder = [] {
    const std::string f = "/tmp/tessaly-bench-64x64mib";
    std::filesystem::create_directories(f);
    const tessaly::sim::RecordSpec recordSpec = BenchSpec(kParts * kPartSectors);
    const std::vector<std::string> names = tessaly::sim::ConsecutiveRecordNames(f + "/part.D01", kParts);
    for (uint32_t k = 0; k < kParts; ++k)
      if (!Written(names[k], 64LL << 20) &&
          !tessaly::sim::WriteRecordPart(names[k], recordSpec, k * kPartSectors, kPartSectors))
        std::fprintf(stderr, "cannot write %s\n", names[k].c_str());
    return f;
  }();
  return folder;
}

// BuildPageIndex on `paths` again and again; the mean time.
double ListPages(benchmark::State& state, const std::vector<std::string>& paths, size_t pages) {
  tessaly::recorder::CRecorderData data;
  tessaly::settings::ApplyDefaultSettings(data);
  data.recordPaths = paths;
  std::chrono::duration<double> total{};
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const bool ok = tessaly::recorder::BuildPageIndex(data);
    total += std::chrono::steady_clock::now() - start;
    if (!ok || data.pages.size() != pages) state.SkipWithError("the record did not page as expected");
    benchmark::DoNotOptimize(data.pages.data());
  }
  const double seconds = total.count() / static_cast<double>(state.iterations());
  state.counters["seconds"] = seconds;
  state.counters["budget_ratio"] = seconds / kBudgetSeconds;  // below 1 is within the budget
  return seconds;
}

void BM_ListPagesOf1GiB(benchmark::State& state) { gSeconds = ListPages(state, {BenchFile()}, 2048); }
BENCHMARK(BM_ListPagesOf1GiB)->Unit(benchmark::kMillisecond);

// The folder as the user opens it: its record files found, then opened as one set.
void BM_ListPagesOfFolder64x64MiB(benchmark::State& state) {
  gFolderSeconds = ListPages(state, tessaly::record::RecordFilesInFolder(BenchFolder()), 8192);
}
BENCHMARK(BM_ListPagesOfFolder64x64MiB)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (gSeconds > 0) tessaly::bench::ReportBudget("page_index_1GiB", gSeconds * 1e3, kBudgetSeconds * 1e3, "ms");
  if (gFolderSeconds > 0)
    tessaly::bench::ReportBudget("page_index_folder_64x64MiB", gFolderSeconds * 1e3, kBudgetSeconds * 1e3, "ms");
  return 0;
}
