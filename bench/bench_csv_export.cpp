// The viewer's CSV export of 1,000,000 rows against writing the same bytes
// with one fwrite. Budget: within 2.5x.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/texts.h"
#include "bench_report.h"
#include "output/csv_export.h"
#include "record/sector.h"
#include "record_writer.h"
#include "settings/channel_info.h"

namespace {

using namespace tessaly;

constexpr size_t kRows = 1'000'000;
constexpr double kBudgetRatio = 2.5;

record::SampleBuffer gSamples;
settings::DisplaySettings gDisplay{};
std::string gBytes;  // the export's bytes, for the baseline
std::string gPath;

// A day of 18 channels at one sample a second with 1 or 2 decimals, decoded
// from recorder sectors as a load leaves them.
void MakeSamples() {
  sim::RecordSpec recordSpec;
  recordSpec.channels = record::kChannelCount;
  recordSpec.samplesPerSector = 6;
  for (int c = 0; c < record::kChannelCount; ++c) recordSpec.decimals[c] = 1 + c % 2;
  recordSpec.waveform = [](int c, uint64_t i) {
    return static_cast<float>(50.0 + 30.0 * std::sin(static_cast<double>(i) / 300.0 + c) + c);
  };
  record::DecodeState decodeState;
  unsigned char sector[record::kSectorSize];
  for (uint32_t i = 0; gSamples.size() < kRows; ++i) {
    sim::BuildSector(recordSpec, i, sector);
    record::DecodeSector(sector, decodeState, gSamples);
  }
  for (int c = 0; c < settings::kChannels; ++c)
    settings::SetChannelName(gDisplay.channels[c], "通道" + std::to_string(c + 1));
}

void BM_FwriteSameBytes(benchmark::State& state) {
  for (auto _ : state) {
    std::FILE* f = std::fopen(gPath.c_str(), "wb");
    if (!f || std::fwrite(gBytes.data(), 1, gBytes.size(), f) != gBytes.size()) state.SkipWithError("write failed");
    if (f) std::fclose(f);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(gBytes.size()));
}

void BM_ViewerCsvExport(benchmark::State& state) {
  for (auto _ : state) {
    std::FILE* f = std::fopen(gPath.c_str(), "wb");
    if (!f || !output::WriteViewerCsv(f, gSamples, gDisplay, 1, base::kChinese)) state.SkipWithError("export failed");
    if (f) std::fclose(f);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(gBytes.size()));
}

// Half a second each even under tools/bench --quick: a single write of the
// file swings by a third from run to run.
BENCHMARK(BM_FwriteSameBytes)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_ViewerCsvExport)->Unit(benchmark::kMillisecond)->MinTime(0.5);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  MakeSamples();
  // In memory where there is a tmpfs, so that neither side waits for a disk.
  const std::filesystem::path shm = "/dev/shm";
  gPath =
      ((std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path()) / "tessaly-bench-export.csv")
          .string();
  {
    char* data = nullptr;
    size_t size = 0;
    std::FILE* memory = open_memstream(&data, &size);
    if (!memory || !output::WriteViewerCsv(memory, gSamples, gDisplay, 1, base::kChinese)) return 1;
    std::fclose(memory);
    gBytes.assign(data, size);
    std::free(data);
  }
  tessaly::bench::TimeCollector times;
  benchmark::RunSpecifiedBenchmarks(&times);
  std::filesystem::remove(gPath);
  const double ratio = times.Ratio("BM_FwriteSameBytes", "BM_ViewerCsvExport");
  if (ratio > 0) {
    std::printf("CSV export of %zu rows (%zu bytes): %.2f x the time of one fwrite (budget <= %.1f)\n", kRows,
                gBytes.size(), ratio, kBudgetRatio);
    tessaly::bench::ReportBudget("csv_export_1M_rows", ratio, kBudgetRatio, "x");
  }
  benchmark::Shutdown();
  return 0;
}
