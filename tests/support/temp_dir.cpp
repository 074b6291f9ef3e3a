#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "base/fs_path.h"
#include "base/system_folders.h"

namespace tessaly::testing {

TempDir::TempDir() {
  const std::string folder = base::NewTemporaryFolder();
  if (folder.empty()) std::abort();
  path_ = base::FsPath(folder);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::File(const std::string& name) const { return base::Utf8Path(path_) + "/" + name; }

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
  if (const char* p = std::getenv(name)) {
    previous_ = p;
    hadPrevious_ = true;
  }
  SetEnv(name, value);
}

ScopedEnv::~ScopedEnv() { SetEnv(name_.c_str(), hadPrevious_ ? previous_.c_str() : nullptr); }

ScopedSettingsDir::ScopedSettingsDir() : env_("TESSALY_SETTINGS_DIR", base::Utf8Path(dir_.path()).c_str()) {}

std::string ScopedSettingsDir::SettingsFile() const { return dir_.File("记录仪.ini"); }

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void AppendToFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::app);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace tessaly::testing
