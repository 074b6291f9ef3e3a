#include "base/stdout_file.h"

#include <filesystem>
#include <memory>

#include "base/fs_path.h"
#include "base/system_folders.h"

namespace tessaly::base {

StdoutThroughFile::StdoutThroughFile() {
  folder_ = NewTemporaryFolder();
  if (!folder_.empty()) path_ = folder_ + "/out";
}

StdoutThroughFile::~StdoutThroughFile() {
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::remove_all(FsPath(folder_), ignored);
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
