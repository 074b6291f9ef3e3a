#pragma once
// Decoding a run of sectors of a record file or set into the SampleBuffer, the way a
// page load does.
#include <cstdint>
#include <functional>

#include "record/sample.h"
#include "record/sector_source.h"

namespace tessaly::record {

// Sectors read at once.
constexpr uint32_t kRangeBlockSectors = 128;

struct RangeOutcome {
  uint32_t sectorsVisited = 0;  // sectors handled before the end, a stop or a full buffer
  bool bufferFull = false;
};

// Called after sector `index` (0-based within the range) has been handled;
// `decoded` is false for a skipped sector. Returning false stops the decoding
// before the next sector.
using SectorVisitor = std::function<bool(uint32_t index, bool decoded)>;

// Empties `buffer` (its capacity is kept) and decodes `count` sectors from
// absolute sector `first` with a fresh DecodeState. Sectors that cannot be
// read whole or fail SectorDecodable are skipped; decoding ends at once when
// the buffer is full, without a visit for that sector. The source is read
// kRangeBlockSectors at a time.
RangeOutcome DecodeSectorRange(const SectorSource& source, uint32_t first, uint32_t count, SampleBuffer& buffer,
                               const SectorVisitor& visit = {});

}  // namespace tessaly::record
