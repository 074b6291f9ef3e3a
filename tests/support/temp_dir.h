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
  // A UTF-8 path in the folder.
  std::string File(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

// Sets (or with null, removes) an environment variable
// (environment_posix.cpp, environment_win32.cpp).
void SetEnv(const char* name, const char* value);

// Sets (or with null, removes) an environment variable for the scope's
// lifetime, then restores what was there.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::string previous_;
  bool hadPrevious_ = false;
};

// Points TESSALY_SETTINGS_DIR at a fresh folder for the scope's lifetime.
class ScopedSettingsDir {
 public:
  ScopedSettingsDir();
  std::string SettingsFile() const;
  const TempDir& dir() const { return dir_; }

 private:
  TempDir dir_;
  ScopedEnv env_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
void AppendToFile(const std::string& path, const std::string& bytes);

}  // namespace tessaly::testing
