#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace tessaly::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tessaly-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
  if (const char* p = std::getenv(name)) {
    previous_ = p;
    hadPrevious_ = true;
  }
  if (value)
    ::setenv(name, value, 1);
  else
    ::unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
  if (hadPrevious_)
    ::setenv(name_.c_str(), previous_.c_str(), 1);
  else
    ::unsetenv(name_.c_str());
}

ScopedSettingsDir::ScopedSettingsDir() : env_("TESSALY_SETTINGS_DIR", dir_.path().c_str()) {}

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
