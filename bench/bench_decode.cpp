// Decoding a page from a cached record file against only reading its bytes,
// both in the blocks the decoder reads and one sector per read as a loader
// reading sector by sector would. Budgets: decoding at least half as fast as
// the plain read; a page of 1,000,000 samples in under 0.3 s.
#include <cstdio>
#include <filesystem>
#include <vector>

#include "bench_report.h"
#include "record/record_file.h"
#include "record/sector_range.h"
#include "record_writer.h"

namespace {

using namespace tessaly;

// 18 channels x 6 samples fill a sector, as the recorder does with all channels on.
constexpr uint32_t kPageSectors = 1024;
constexpr uint32_t kMillionSectors = (1'000'000 + 5) / 6;

struct Fixture {
  std::string path;
  record::RecordFile file;
  uint32_t sectors = 0;
};
Fixture gPage;
Fixture gMillion;

void Make(Fixture& f, const std::string& path, uint32_t sectors) {
  sim::RecordSpec recordSpec;
  recordSpec.channels = 18;
  recordSpec.samplesPerSector = 6;
  recordSpec.decimals.fill(2);
  recordSpec.sectorCount = sectors;
  f.path = path;
  f.sectors = sectors;
  if (!sim::WriteRecordFile(path, recordSpec) || !f.file.Open(path)) std::abort();
}

// What a load reads, block by block, without decoding.
void ReadOnly(benchmark::State& state, Fixture& f) {
  std::vector<unsigned char> block(size_t{record::kRangeBlockSectors} * record::kSectorSize);
  for (auto _ : state) {
    for (uint32_t done = 0; done < f.sectors; done += record::kRangeBlockSectors) {
      const uint32_t n = std::min(record::kRangeBlockSectors, f.sectors - done);
      const size_t got = f.file.ReadAt((uint64_t{2} + done) * record::kSectorSize, block.data(), size_t{n} * 512);
      benchmark::DoNotOptimize(got);
      benchmark::ClobberMemory();
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * f.sectors * 512);
}

void ReadBySector(benchmark::State& state, Fixture& f) {
  unsigned char sector[record::kSectorSize];
  for (auto _ : state) {
    for (uint32_t i = 0; i < f.sectors; ++i) {
      benchmark::DoNotOptimize(f.file.ReadSector(2 + i, sector));
      benchmark::ClobberMemory();
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * f.sectors * 512);
}

void Decode(benchmark::State& state, Fixture& f) {
  record::SampleBuffer samples;  // capacity kept from load to load, as in the program
  for (auto _ : state) {
    record::DecodeSectorRange(f.file, 2, f.sectors, samples);
    benchmark::DoNotOptimize(samples.size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * f.sectors * 512);
  state.counters["samples"] = static_cast<double>(samples.size());
}

void BM_ReadPage(benchmark::State& state) { ReadOnly(state, gPage); }
void BM_ReadPageBySector(benchmark::State& state) { ReadBySector(state, gPage); }
void BM_DecodePage(benchmark::State& state) { Decode(state, gPage); }
void BM_ReadMillionSamples(benchmark::State& state) { ReadOnly(state, gMillion); }
void BM_DecodeMillionSamples(benchmark::State& state) { Decode(state, gMillion); }

BENCHMARK(BM_ReadPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadPageBySector)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodePage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadMillionSamples)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeMillionSamples)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const std::filesystem::path dir = std::filesystem::temp_directory_path();
  Make(gPage, (dir / "tessaly-bench-page.D01").string(), kPageSectors);
  Make(gMillion, (dir / "tessaly-bench-million.D01").string(), kMillionSectors);
  tessaly::bench::TimeCollector times;
  benchmark::RunSpecifiedBenchmarks(&times);
  std::filesystem::remove(gPage.path);
  std::filesystem::remove(gMillion.path);

  const double blocks = times.Ratio("BM_DecodePage", "BM_ReadPage");
  const double bySector = times.Ratio("BM_DecodePage", "BM_ReadPageBySector");
  if (blocks > 0 && bySector > 0)
    std::printf("page of %u sectors: decode / read throughput = %.2f against reads of %u sectors, %.2f against "
                "one read per sector (budget >= 0.5)\n",
                kPageSectors, blocks, record::kRangeBlockSectors, bySector);
  const auto million = times.Of("BM_DecodeMillionSamples");
  if (million.Measured())
    std::printf("1,000,000 samples: decode / read throughput = %.2f; decode %.3f s CPU, %.3f s real (budget < 0.3 s)\n",
                times.Ratio("BM_DecodeMillionSamples", "BM_ReadMillionSamples"), million.cpu, million.real);
  benchmark::Shutdown();
  return 0;
}
