#pragma once
// What tests need of the platform, by what each one offers (platform_posix.cpp,
// platform_win32.cpp): writes that fail the way a full disk makes them fail,
// files that are not regular, the home variable, pseudo-terminals.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

namespace tessaly::testing {

// While it lives, writes to files stop at `bytes` (POSIX: RLIMIT_FSIZE).
// Windows has no such limit: Supported() is false there.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(uint64_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  static bool Supported();

 private:
  uint64_t saved_ = 0;
  void (*previousHandler_)(int) = nullptr;
};

// A stream every write to which fails (POSIX: /dev/full, "no space left").
std::FILE* OpenFullStream();

// Runs `body` in a child process that sees a 64 KiB file system over
// `folder` and returns its exit code; 77 when no such file system can be had
// (no mount namespace, or Windows).
int RunOnASmallFileSystem(const std::string& folder, const std::function<int()>& body);

// Makes something at `path` that is not a regular file: a FIFO on POSIX, a
// folder on Windows, which has no FIFOs among its files.
bool MakeNonRegularFile(const std::string& path);

// The environment variable that names the user's home folder; the one that
// names the user's configuration folder, and where that lies in the home
// folder when the variable is not set.
const char* HomeVariable();
const char* ConfigVariable();
const char* ConfigFolderInHome();

// Marks a file or folder read-only (no write bits; the read-only attribute)
// or writable again.
void SetReadOnly(const std::string& path, bool readOnly);

// The permission bits of `path`; none on Windows, which has access rules.
std::optional<unsigned> PermissionBits(const std::string& path);

// Whether this Windows program runs under wine, which differs from Windows
// in ways some tests must name when they skip.
bool UnderWine();

// Whether the system has pseudo-terminals (Windows has none: there the
// serial line is tested against the simulator on a COM port).
bool HasPseudoTerminals();

}  // namespace tessaly::testing
