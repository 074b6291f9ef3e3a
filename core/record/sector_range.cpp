#include "record/sector_range.h"

#include <algorithm>

#include "record/sector.h"

namespace tessaly::record {

RangeOutcome DecodeSectorRange(const SectorSource& source, uint32_t first, uint32_t count, SampleBuffer& buffer,
                               const SectorVisitor& visit) {
  buffer.clear();
  RangeOutcome outcome;
  DecodeState state;
  for (uint32_t done = 0; done < count;) {
    const uint32_t sectors = std::min(kRangeBlockSectors, count - done);
    // Read straight into the buffer's store: a good sector is then kept where it lies.
    unsigned char* block = buffer.SectorSlots(sectors);
    const size_t got = source.ReadAt((uint64_t{first} + done) * kSectorSize, block, size_t{sectors} * kSectorSize);
    const size_t whole = got / kSectorSize;  // a sector read only in part counts as bad
    for (uint32_t k = 0; k < sectors; ++k) {
      const unsigned char* sector = block + size_t{k} * kSectorSize;
      const uint32_t index = done + k;
      const bool decodable = k < whole && SectorDecodable(sector);
      if (decodable && DecodeSector(sector, state, buffer) == DecodeResult::BufferFull) {
        outcome.sectorsVisited = index + 1;
        outcome.bufferFull = true;
        return outcome;
      }
      outcome.sectorsVisited = index + 1;
      if (visit && !visit(index, decodable)) return outcome;
    }
    done += sectors;
  }
  return outcome;
}

}  // namespace tessaly::record
