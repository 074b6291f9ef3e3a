#pragma once
// What sectors are read from: one record file, or a set of them seen as one
// run of sectors. Paging, labelling, search and decoding read through this.
#include <cstddef>
#include <cstdint>

namespace tessaly::record {

constexpr size_t kSectorSize = 512;

class SectorSource {
 public:
  virtual ~SectorSource() = default;

  // Whole 512-byte sectors; a shorter tail is ignored.
  virtual uint32_t SectorCount() const = 0;

  // Reads up to `size` bytes at `offset`; returns the count read, short at the
  // end or on a read error.
  virtual size_t ReadAt(uint64_t offset, void* buffer, size_t size) const = 0;

  // A hint that `size` bytes at `offset` are read soon: the system may start
  // reading them now, so that many small reads scattered over a large file
  // wait on the disk together instead of one after another.
  virtual void Prefetch(uint64_t offset, size_t size) const = 0;

  // Reads sector `sector` whole; false when fewer than 512 bytes could be read.
  bool ReadSector(uint32_t sector, unsigned char* out512) const {
    return ReadAt(uint64_t{sector} * kSectorSize, out512, kSectorSize) == kSectorSize;
  }

 protected:
  SectorSource() = default;
  SectorSource(const SectorSource&) = default;
  SectorSource& operator=(const SectorSource&) = default;
};

}  // namespace tessaly::record
