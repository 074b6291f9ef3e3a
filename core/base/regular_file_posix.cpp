#include "base/regular_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tessaly::base {
namespace {

int OpenFlags(FileAccess access) {
  switch (access) {
    case FileAccess::kReadWrite: return O_RDWR;
    case FileAccess::kReadCreate: return O_RDONLY | O_CREAT;
    case FileAccess::kRead: break;
  }
  return O_RDONLY;
}

// Reads with `transfer` (a read of n bytes at a count already done) until
// `size` bytes, the end of the file or an error.
template <typename Transfer>
size_t ReadLoop(size_t size, Transfer transfer) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = transfer(done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

}  // namespace

int OpenRegularFile(const std::string& path, FileAccess access, uint64_t& size) {
  const int fd = ::open(path.c_str(), OpenFlags(access) | O_CLOEXEC | O_NONBLOCK, 0666);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  size = static_cast<uint64_t>(st.st_size);
  return fd;
}

bool LockExclusive(int fd) { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; }

size_t ReadFully(int fd, void* buffer, size_t size) {
  auto* out = static_cast<unsigned char*>(buffer);
  return ReadLoop(size, [&](size_t done) { return ::read(fd, out + done, size - done); });
}

size_t ReadFullyAt(int fd, uint64_t offset, void* buffer, size_t size) {
  auto* out = static_cast<unsigned char*>(buffer);
  return ReadLoop(size,
                  [&](size_t done) { return ::pread(fd, out + done, size - done, static_cast<off_t>(offset + done)); });
}

void AdviseWillRead(int fd, uint64_t offset, size_t size) {
  ::posix_fadvise(fd, static_cast<off_t>(offset), static_cast<off_t>(size), POSIX_FADV_WILLNEED);
}

void CloseFile(int fd) { ::close(fd); }

bool IsWritable(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
}

}  // namespace tessaly::base
