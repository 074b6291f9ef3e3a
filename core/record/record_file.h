#pragma once
// The open record file: read only, held under an exclusive advisory lock from
// a successful open until the next open or close, as the recorder's files are
// never written by this program.
#include <cstddef>
#include <cstdint>
#include <string>

#include "record/sector_source.h"

namespace tessaly::record {

class RecordFile : public SectorSource {
 public:
  RecordFile() = default;
  ~RecordFile() override { Close(); }
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  // False when the file is missing, unreadable, not a regular file or locked
  // by another holder.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

  uint64_t Size() const { return size_; }
  uint32_t SectorCount() const override;
  size_t ReadAt(uint64_t offset, void* buffer, size_t size) const override;
  void Prefetch(uint64_t offset, size_t size) const override;

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
};

}  // namespace tessaly::record
