// The sector check the page loader runs on every sector, RecordCrcOfField
// over 512 bytes with the field at 12, in each path the processor has and as
// dispatched, against copying the same bytes and against Intel's ISA-L doing
// the same check. Budget: the dispatched check at 10 ns per sector or less.
// ISA-L would replace our folding paths only if it came within 1.5 ns per
// sector of them.
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <isa-l/crc.h>

#include "bench_report.h"
#include "record/record_crc.h"

namespace {

using namespace tessaly;

constexpr size_t kSectors = 1024;
constexpr size_t kSectorSize = 512;
constexpr size_t kFieldOffset = 12;
constexpr double kBudgetNs = 10.0;
// Each benchmark runs this long even under tools/bench --quick: the
// comparison with ISA-L is a matter of a nanosecond or two per sector.
constexpr double kMinSeconds = 0.5;

// Sectors with their CRC field filled in, so that a run can count the good
// ones and a wrong result shows as an error instead of a time.
std::vector<unsigned char> MakeSectors() {
  std::mt19937 random(512);
  std::vector<unsigned char> bytes(kSectors * kSectorSize);
  for (unsigned char& b : bytes) b = static_cast<unsigned char>(random());
  for (size_t s = 0; s < kSectors; ++s) {
    unsigned char* sector = &bytes[s * kSectorSize];
    std::memset(sector + kFieldOffset, 0, 4);
    const uint32_t crc = record::RecordCrc(sector, kSectorSize);
    for (int i = 0; i < 4; ++i) sector[kFieldOffset + i] = static_cast<unsigned char>(crc >> (8 * i));
  }
  return bytes;
}
const std::vector<unsigned char> gSectors = MakeSectors();

uint32_t StoredCrc(const unsigned char* sector) {
  const unsigned char* f = sector + kFieldOffset;
  return uint32_t{f[0]} | uint32_t{f[1]} << 8 | uint32_t{f[2]} << 16 | uint32_t{f[3]} << 24;
}

template <typename Check>
void CheckSectors(benchmark::State& state, Check check) {
  for (auto _ : state) {
    size_t good = 0;
    for (size_t s = 0; s < kSectors; ++s) {
      const unsigned char* sector = &gSectors[s * kSectorSize];
      good += check(sector) == StoredCrc(sector);
    }
    if (good != kSectors) state.SkipWithError("a sector's CRC came out wrong");
    benchmark::DoNotOptimize(good);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * gSectors.size()));
}

void BM_CopySectors(benchmark::State& state) {
  std::vector<unsigned char> copy(gSectors.size());
  for (auto _ : state) {
    std::memcpy(copy.data(), gSectors.data(), gSectors.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * gSectors.size()));
}
BENCHMARK(BM_CopySectors)->Unit(benchmark::kMicrosecond)->MinTime(kMinSeconds);

void BM_SectorCrc(benchmark::State& state) {
  CheckSectors(state, [](const unsigned char* s) { return record::RecordCrcOfField(s, kSectorSize, kFieldOffset); });
}
BENCHMARK(BM_SectorCrc)->Unit(benchmark::kMicrosecond)->MinTime(kMinSeconds);

// Intel's ISA-L on the same sectors: the record CRC is its reflected CRC-32
// started from the register 0xEDB88320 without the final inversion, and the
// field is zeroed in a copy of the head.
uint32_t IsalSectorCrc(const unsigned char* sector) {
  constexpr size_t kHead = 64;
  unsigned char head[kHead];
  std::memcpy(head, sector, kHead);
  std::memset(head + kFieldOffset, 0, 4);
  const uint32_t crc = crc32_gzip_refl(~0xEDB88320u, head, kHead);
  return ~crc32_gzip_refl(crc, sector + kHead, kSectorSize - kHead);
}

void BM_SectorCrcIsal(benchmark::State& state) { CheckSectors(state, IsalSectorCrc); }
BENCHMARK(BM_SectorCrcIsal)->Unit(benchmark::kMicrosecond)->MinTime(kMinSeconds);

// ISA-L's best form of the check: one call over the sector as it is, then
// the field's bytes taken out again. The CRC is linear, so their part is
// that of the four bytes alone from a zero register, carried through the
// bytes after them: four tables of 256 for this sector layout.
class FieldTables {
 public:
  FieldTables() {
    for (size_t i = 0; i < 4; ++i) {
      for (uint32_t b = 0; b < 256; ++b) {
        std::vector<unsigned char> alone(kSectorSize - kFieldOffset, 0);
        alone[i] = static_cast<unsigned char>(b);
        // RecordCrc starts from its own register; the part of the start cancels out.
        table_[i][b] = record::RecordCrc(alone.data(), alone.size()) ^ record::RecordCrc(kZeros, alone.size());
      }
    }
  }
  uint32_t Of(const unsigned char* field) const {
    return table_[0][field[0]] ^ table_[1][field[1]] ^ table_[2][field[2]] ^ table_[3][field[3]];
  }

 private:
  static constexpr unsigned char kZeros[kSectorSize] = {};
  uint32_t table_[4][256];
};

uint32_t IsalOneCallSectorCrc(const unsigned char* sector) {
  static const FieldTables field;
  return ~crc32_gzip_refl(~0xEDB88320u, sector, kSectorSize) ^ field.Of(sector + kFieldOffset);
}

void BM_SectorCrcIsalOneCall(benchmark::State& state) { CheckSectors(state, IsalOneCallSectorCrc); }
BENCHMARK(BM_SectorCrcIsalOneCall)->Unit(benchmark::kMicrosecond)->MinTime(kMinSeconds);

std::string PathBenchmark(record::RecordCrcPath path) {
  return std::string("BM_SectorCrcOn/") + record::RecordCrcPathName(path);
}

}  // namespace

int main(int argc, char** argv) {
  for (record::RecordCrcPath path : record::kRecordCrcPaths) {
    if (!record::RecordCrcPathAvailable(path)) continue;
    benchmark::RegisterBenchmark(PathBenchmark(path).c_str(),
                                 [path](benchmark::State& state) {
                                   CheckSectors(state, [path](const unsigned char* s) {
                                     return record::RecordCrcOfFieldOn(path, s, kSectorSize, kFieldOffset);
                                   });
                                 })
        ->Unit(benchmark::kMicrosecond)
        ->MinTime(kMinSeconds);
  }
  benchmark::Initialize(&argc, argv);
  tessaly::bench::TimeCollector times;
  benchmark::RunSpecifiedBenchmarks(&times);

  const auto perSector = [&](const std::string& name) { return times.Of(name).cpu * 1e9 / kSectors; };
  if (times.Of("BM_CopySectors").Measured()) std::printf("copy: %.1f ns per sector\n", perSector("BM_CopySectors"));
  for (record::RecordCrcPath path : record::kRecordCrcPaths) {
    const std::string name = PathBenchmark(path);
    if (times.Of(name).Measured())
      std::printf("%s: %.1f ns per sector, %.2f times the copy\n", record::RecordCrcPathName(path), perSector(name),
                  1.0 / times.Ratio(name, "BM_CopySectors"));
  }
  if (times.Of("BM_SectorCrc").Measured()) {
    std::printf("dispatched: %.1f ns per sector (budget <= %.0f ns)\n", perSector("BM_SectorCrc"), kBudgetNs);
    tessaly::bench::ReportBudget("sector_crc", perSector("BM_SectorCrc"), kBudgetNs, "ns");
  }
  if (times.Of("BM_SectorCrcIsal").Measured() && times.Of("BM_SectorCrc").Measured())
    std::printf(
        "ISA-L: %.1f ns per sector, %+.1f ns against ours; in one call with the field taken out after: "
        "%.1f ns, %+.1f ns\n",
        perSector("BM_SectorCrcIsal"), perSector("BM_SectorCrcIsal") - perSector("BM_SectorCrc"),
        perSector("BM_SectorCrcIsalOneCall"), perSector("BM_SectorCrcIsalOneCall") - perSector("BM_SectorCrc"));
  benchmark::Shutdown();
  return 0;
}
