#include "base/stdout_file.h"

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace tessaly::base {

StdoutThroughFile::StdoutThroughFile() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tessaly-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) return;
  folder_ = pattern;
  path_ = folder_ + "/out";
}

StdoutThroughFile::~StdoutThroughFile() {
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

bool StdoutThroughFile::CopyTo(std::FILE* out) const {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path_.c_str(), "rb"), std::fclose);
  if (!in) return false;
  char buffer[1 << 16];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, in.get())) > 0)
    if (std::fwrite(buffer, 1, n, out) != n) return false;
  return !std::ferror(in.get()) && std::fflush(out) == 0;
}

}  // namespace tessaly::base
