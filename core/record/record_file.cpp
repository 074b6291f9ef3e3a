#include "record/record_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>

namespace tessaly::record {

bool RecordFile::Open(const std::string& path) {
  Close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  size_ = static_cast<uint64_t>(st.st_size);
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

bool RecordFile::ReadSector(uint32_t sector, unsigned char* out512) const {
  return ReadAt(uint64_t{sector} * kSectorSize, out512, kSectorSize) == kSectorSize;
}

}  // namespace tessaly::record
