#include "record/sector_reader.h"

#include <algorithm>

namespace tessaly::record {

SectorReader::SectorReader(const RecordFile& file, uint32_t blockSectors)
    : file_(file),
      blockSectors_(std::max<uint32_t>(blockSectors, 1)),
      buffer_(size_t{blockSectors_} * kSectorSize) {}

const unsigned char* SectorReader::Get(uint64_t sector, uint32_t ahead) {
  if (sector < first_ || sector >= first_ + held_) {
    const uint32_t want = std::clamp<uint32_t>(ahead, 1, blockSectors_);
    // A short read (end of file, an error) keeps the whole sectors it got; a
    // later sector is read again from its own offset.
    const size_t got = file_.ReadAt(sector * kSectorSize, buffer_.data(), size_t{want} * kSectorSize);
    first_ = sector;
    held_ = static_cast<uint32_t>(got / kSectorSize);
    if (held_ == 0) return nullptr;
  }
  return buffer_.data() + (sector - first_) * kSectorSize;
}

}  // namespace tessaly::record
