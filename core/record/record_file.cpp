#include "record/record_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>

#include "base/regular_file.h"

namespace tessaly::record {

bool RecordFile::Open(const std::string& path) {
  Close();
  uint64_t size = 0;
  const int fd = base::OpenRegularFile(path, O_RDONLY, size);
  if (fd < 0) return false;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  size_ = size;
  return true;
}

void RecordFile::Close() {
  if (fd_ >= 0) ::close(fd_);  // also releases the lock
  fd_ = -1;
  size_ = 0;
}

uint32_t RecordFile::SectorCount() const {
  return static_cast<uint32_t>(std::min<uint64_t>(size_ / kSectorSize, std::numeric_limits<uint32_t>::max()));
}

size_t RecordFile::ReadAt(uint64_t offset, void* buffer, size_t size) const {
  if (fd_ < 0) return 0;
  size_t done = 0;
  auto* out = static_cast<unsigned char*>(buffer);
  while (done < size) {
    const ssize_t n = ::pread(fd_, out + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

void RecordFile::Prefetch(uint64_t offset, size_t size) const {
  if (fd_ >= 0) ::posix_fadvise(fd_, static_cast<off_t>(offset), static_cast<off_t>(size), POSIX_FADV_WILLNEED);
}

}  // namespace tessaly::record
