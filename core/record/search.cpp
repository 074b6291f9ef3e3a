#include "record/search.h"

#include "record/sector.h"

namespace tessaly::record {

uint32_t FindSector(const RecordSet& set, double target) {
  const uint64_t h = set.HeaderSectors();
  const uint64_t data = set.DataSectors();
  uint64_t lo = h;
  uint64_t hi = h + data;
  uint64_t mid = h + data / 2;
  for (;;) {
    SectorStart probe = SectorStartTime(set, static_cast<uint32_t>(mid));
    // Stepping down stops at lo, which is never probed again: lo is already
    // known not to be later than the target (or is the first data sector),
    // and probing it would send the search back to the same mid for ever.
    while (probe.status != RecordTimeStatus::Valid) {
      if (mid <= lo || --mid == lo) return static_cast<uint32_t>(lo);
      probe = SectorStartTime(set, static_cast<uint32_t>(mid));
    }
    if (probe.oleDate <= target) {
      lo = mid;
      mid = (mid + hi) / 2;
    } else {
      hi = mid;
      mid = (mid + lo) / 2;
    }
    if (mid == lo) return static_cast<uint32_t>(lo);
  }
}

}  // namespace tessaly::record
