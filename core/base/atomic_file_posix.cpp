#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly::base {

std::FILE* AtomicFile::CreateBeside(const std::string& target, std::string& tempPath) {
  std::string pattern = target + ".XXXXXX";
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return nullptr;
  // Keep the permissions an ordinary new file would get.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  struct stat st {};
  ::fchmod(fd, ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : (0666 & ~mask));
  std::FILE* file = ::fdopen(fd, "wb");
  if (!file) {
    ::close(fd);
    ::unlink(pattern.c_str());
    return nullptr;
  }
  tempPath = pattern;
  return file;
}

bool AtomicFile::SyncAndClose(std::FILE* file) {
  bool ok = std::fflush(file) == 0;
  ok = ::fsync(::fileno(file)) == 0 && ok;
  return std::fclose(file) == 0 && ok;
}

bool AtomicFile::Replace(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0;
}

void AtomicFile::Remove(const std::string& path) { ::unlink(path.c_str()); }

}  // namespace tessaly::base
