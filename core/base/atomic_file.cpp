#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace tessaly::base {

AtomicFile::~AtomicFile() { Discard(); }

bool AtomicFile::Open(const std::string& target) {
  Discard();
  failed_ = false;
  target_ = target;
  // A read-only target stays refused, as opening it for writing would be; a
  // file without any write bit counts as read-only even for root, like a
  // read-only attribute.
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0 && ((existing.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0))
    return false;
  std::string pattern = target + ".XXXXXX";
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return false;
  // Keep the permissions an ordinary new file would get.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  struct stat st {};
  ::fchmod(fd, ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : (0666 & ~mask));
  file_ = ::fdopen(fd, "wb");
  if (!file_) {
    ::close(fd);
    ::unlink(pattern.c_str());
    return false;
  }
  tempPath_ = pattern;
  return true;
}

bool AtomicFile::Write(const void* data, size_t size) {
  if (!file_ || failed_) return false;
  if (size > 0 && std::fwrite(data, 1, size, file_) != size) failed_ = true;
  return !failed_;
}

bool AtomicFile::Commit() {
  if (tempPath_.empty()) return false;
  bool ok = !failed_;
  if (file_) {
    ok = std::fflush(file_) == 0 && ok;
    ok = ::fsync(::fileno(file_)) == 0 && ok;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
  }
  ok = ok && ::rename(tempPath_.c_str(), target_.c_str()) == 0;
  if (!ok) {
    Discard();
    return false;
  }
  tempPath_.clear();
  return true;
}

void AtomicFile::Discard() {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!tempPath_.empty()) {
    ::unlink(tempPath_.c_str());
    tempPath_.clear();
  }
}

}  // namespace tessaly::base
