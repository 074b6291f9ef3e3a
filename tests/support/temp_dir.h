#pragma once
// A fresh folder under the system's temporary folder, removed with its contents.
#include <filesystem>
#include <string>

namespace tessaly::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Points TESSALY_SETTINGS_DIR at a fresh folder for the scope's lifetime.
class ScopedSettingsDir {
 public:
  ScopedSettingsDir();
  ~ScopedSettingsDir();
  std::string SettingsFile() const;
  const TempDir& dir() const { return dir_; }

 private:
  TempDir dir_;
  std::string previous_;
  bool hadPrevious_ = false;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
void AppendToFile(const std::string& path, const std::string& bytes);

}  // namespace tessaly::testing
