// Decoding a page from a cached record file against only reading its bytes.
// "Cached" is the page cache: a page a user opens has been read from disk
// before, but not just now, so its bytes are in memory and not in the
// processor's caches. Each iteration starts from there (the file's lines are
// flushed, untimed); the same work on bytes still in the processor's caches
// from the previous iteration is shown beside it. The decoder reads in
// blocks; one read per sector is shown as what a sector-by-sector loader
// would pay. Budgets: decoding at least half as fast as the plain read; a
// page of 1,000,000 samples in under 0.3 s.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include <emmintrin.h>

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
  // The file mapped, to reach its page-cache lines.
  const unsigned char* mapped = nullptr;
  size_t length = 0;
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
  f.length = (size_t{sectors} + 2) * record::kSectorSize;
  const int fd = open(path.c_str(), O_RDONLY);
  void* map = fd < 0 ? MAP_FAILED : mmap(nullptr, f.length, PROT_READ, MAP_SHARED, fd, 0);
  if (fd >= 0) close(fd);
  if (map == MAP_FAILED) std::abort();
  f.mapped = static_cast<const unsigned char*>(map);
}

// Writes the file's lines back to memory and drops them from every cache
// level, untimed.
void Evict(benchmark::State& state, const Fixture& f, bool cold) {
  if (!cold) return;
  state.PauseTiming();
  for (size_t i = 0; i < f.length; i += 64) _mm_clflush(f.mapped + i);
  _mm_mfence();
  state.ResumeTiming();
}

// What a load reads, block by block, without decoding.
void ReadOnly(benchmark::State& state, Fixture& f, bool cold) {
  std::vector<unsigned char> block(size_t{record::kRangeBlockSectors} * record::kSectorSize);
  for (auto _ : state) {
    Evict(state, f, cold);
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
    Evict(state, f, true);
    for (uint32_t i = 0; i < f.sectors; ++i) {
      benchmark::DoNotOptimize(f.file.ReadSector(2 + i, sector));
      benchmark::ClobberMemory();
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * f.sectors * 512);
}

void Decode(benchmark::State& state, Fixture& f, bool cold) {
  record::SampleBuffer samples;  // capacity kept from load to load, as in the program
  for (auto _ : state) {
    Evict(state, f, cold);
    record::DecodeSectorRange(f.file, 2, f.sectors, samples);
    benchmark::DoNotOptimize(samples.size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * f.sectors * 512);
  state.counters["samples"] = static_cast<double>(samples.size());
}

void BM_ReadPage(benchmark::State& state) { ReadOnly(state, gPage, true); }
void BM_ReadPageBySector(benchmark::State& state) { ReadBySector(state, gPage); }
void BM_DecodePage(benchmark::State& state) { Decode(state, gPage, true); }
void BM_ReadPageInCache(benchmark::State& state) { ReadOnly(state, gPage, false); }
void BM_DecodePageInCache(benchmark::State& state) { Decode(state, gPage, false); }
void BM_ReadMillionSamples(benchmark::State& state) { ReadOnly(state, gMillion, true); }
void BM_DecodeMillionSamples(benchmark::State& state) { Decode(state, gMillion, true); }

BENCHMARK(BM_ReadPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadPageBySector)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodePage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadPageInCache)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodePageInCache)->Unit(benchmark::kMicrosecond);
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
  munmap(const_cast<unsigned char*>(gPage.mapped), gPage.length);
  munmap(const_cast<unsigned char*>(gMillion.mapped), gMillion.length);
  std::filesystem::remove(gPage.path);
  std::filesystem::remove(gMillion.path);

  const double blocks = times.Ratio("BM_DecodePage", "BM_ReadPage");
  const double bySector = times.Ratio("BM_DecodePage", "BM_ReadPageBySector");
  const double inCache = times.Ratio("BM_DecodePageInCache", "BM_ReadPageInCache");
  if (blocks > 0 && bySector > 0 && inCache > 0)
    std::printf(
        "page of %u sectors from the page cache: decode / read throughput = %.2f against reads of %u "
        "sectors (budget >= 0.5), %.2f against one read per sector; %.2f with the bytes still in the "
        "processor's caches\n",
        kPageSectors, blocks, record::kRangeBlockSectors, bySector, inCache);
  if (blocks > 0) tessaly::bench::ReportBudget("decode_page_vs_read", blocks, 0.5, "x", tessaly::bench::Limit::AtLeast);
  const auto million = times.Of("BM_DecodeMillionSamples");
  if (million.Measured())
    std::printf("1,000,000 samples: decode / read throughput = %.2f; decode %.3f s CPU, %.3f s real (budget < 0.3 s)\n",
                times.Ratio("BM_DecodeMillionSamples", "BM_ReadMillionSamples"), million.cpu, million.real);
  if (million.Measured()) tessaly::bench::ReportBudget("decode_1M_samples", million.cpu * 1e3, 300, "ms");
  benchmark::Shutdown();
  return 0;
}
