#include "base/system_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace tessaly::base {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  const passwd* user = ::getpwuid(::getuid());
  return user && user->pw_dir && *user->pw_dir ? user->pw_dir : "/";
}

std::string UserConfigFolder() {
  // A relative XDG_CONFIG_HOME is invalid and ignored.
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/') return config;
  std::string home = HomeFolder();
  if (home.back() == '/') home.pop_back();
  return home + "/.config";
}

std::string ExecutableFolder() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  const std::string exe(path, static_cast<size_t>(n));
  const size_t slash = exe.rfind('/');
  return slash == std::string::npos ? "." : exe.substr(0, slash);
}

std::string NewTemporaryFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tessaly-XXXXXX";
  return ::mkdtemp(pattern.data()) ? pattern : std::string();
}

}  // namespace tessaly::base
