#pragma once
// The open record file: read only, held under an exclusive advisory lock from
// a successful open until the next open or close, as the recorder's files are
// never written by this program.
#include <cstddef>
#include <cstdint>
#include <string>

namespace tessaly::record {

constexpr size_t kSectorSize = 512;

class RecordFile {
 public:
  RecordFile() = default;
  ~RecordFile() { Close(); }
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  // False when the file is missing, unreadable, not a regular file or locked
  // by another holder.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

  uint64_t Size() const { return size_; }
  // Whole 512-byte sectors in the file; a shorter tail is ignored.
  uint32_t SectorCount() const;

  // Reads up to `size` bytes at `offset`; returns the count read, short at the
  // end of the file or on a read error.
  size_t ReadAt(uint64_t offset, void* buffer, size_t size) const;

  // Reads sector `sector` whole; false when fewer than 512 bytes could be read.
  bool ReadSector(uint32_t sector, unsigned char* out512) const;

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
};

}  // namespace tessaly::record
