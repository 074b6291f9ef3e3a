#include "support/platform.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace tessaly::testing {

FileSizeLimit::FileSizeLimit(uint64_t bytes) {
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  saved_ = limit.rlim_cur;
  previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
  limit.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = saved_;
  setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, previousHandler_);
}

bool FileSizeLimit::Supported() { return true; }

std::FILE* OpenFullStream() { return std::fopen("/dev/full", "wb"); }

int RunOnASmallFileSystem(const std::string& folder, const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child < 0) return 77;
  if (child == 0) {
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tessaly-test", folder.c_str(), "tmpfs", 0, "size=64k") != 0)
      ::_exit(77);
    ::_exit(body());
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

bool MakeNonRegularFile(const std::string& path) { return ::mkfifo(path.c_str(), 0600) == 0; }

const char* HomeVariable() { return "HOME"; }
const char* ConfigVariable() { return "XDG_CONFIG_HOME"; }
const char* ConfigFolderInHome() { return ".config"; }

void SetReadOnly(const std::string& path, bool readOnly) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return;
  ::chmod(path.c_str(), readOnly ? (st.st_mode & 07555) : (st.st_mode | 0200));
}

std::optional<unsigned> PermissionBits(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return st.st_mode & 0777;
}

bool UnderWine() { return false; }

bool HasPseudoTerminals() { return true; }

}  // namespace tessaly::testing
