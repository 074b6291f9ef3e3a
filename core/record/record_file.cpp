#include "record/record_file.h"

#include <algorithm>
#include <limits>

#include "base/regular_file.h"

namespace tessaly::record {

bool RecordFile::Open(const std::string& path) {
  Close();
  uint64_t size = 0;
  const int fd = base::OpenRegularFile(path, base::FileAccess::kRead, size);
  if (fd < 0) return false;
  if (!base::LockExclusive(fd)) {
    base::CloseFile(fd);
    return false;
  }
  fd_ = fd;
  size_ = size;
  return true;
}

void RecordFile::Close() {
  if (fd_ >= 0) base::CloseFile(fd_);  // also releases the lock
  fd_ = -1;
  size_ = 0;
}

uint32_t RecordFile::SectorCount() const {
  return static_cast<uint32_t>(std::min<uint64_t>(size_ / kSectorSize, std::numeric_limits<uint32_t>::max()));
}

size_t RecordFile::ReadAt(uint64_t offset, void* buffer, size_t size) const {
  return fd_ < 0 ? 0 : base::ReadFullyAt(fd_, offset, buffer, size);
}

void RecordFile::Prefetch(uint64_t offset, size_t size) const {
  if (fd_ >= 0) base::AdviseWillRead(fd_, offset, size);
}

}  // namespace tessaly::record
