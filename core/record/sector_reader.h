#pragma once
// Reads a record file's sectors through one reused block buffer, so a run of
// neighbouring sectors costs one pread instead of one per sector.
#include <cstdint>
#include <vector>

#include "record/record_file.h"

namespace tessaly::record {

class SectorReader {
 public:
  // `blockSectors`: the most sectors one read fetches (at least 1).
  SectorReader(const RecordFile& file, uint32_t blockSectors);

  // The 512 bytes of sector `sector`, or nullptr when it cannot be read whole
  // (beyond the end of the file, or a read error). When the sector is not in
  // the buffer, one read fetches it and up to `ahead` - 1 following sectors
  // (capped at the block size); the pointer stays valid until the next call.
  const unsigned char* Get(uint64_t sector, uint32_t ahead);

 private:
  const RecordFile& file_;
  uint32_t blockSectors_;
  std::vector<unsigned char> buffer_;
  uint64_t first_ = 0;    // sector held at the start of the buffer
  uint32_t held_ = 0;     // whole sectors held
};

}  // namespace tessaly::record
