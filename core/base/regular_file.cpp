#include "base/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly::base {

int OpenRegularFile(const std::string& path, int flags, uint64_t& size) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  size = static_cast<uint64_t>(st.st_size);
  return fd;
}

}  // namespace tessaly::base
