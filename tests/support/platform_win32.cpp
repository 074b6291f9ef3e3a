#include <windows.h>

#include "base/utf16.h"
#include "support/platform.h"

namespace tessaly::testing {

FileSizeLimit::FileSizeLimit(uint64_t) {}
FileSizeLimit::~FileSizeLimit() = default;
bool FileSizeLimit::Supported() { return false; }

// A stream opened for reading only: every write to it fails.
std::FILE* OpenFullStream() { return std::fopen("NUL", "rb"); }

int RunOnASmallFileSystem(const std::string&, const std::function<int()>&) { return 77; }

bool MakeNonRegularFile(const std::string& path) {
  return ::CreateDirectoryW(base::Utf8ToUtf16(path).c_str(), nullptr) != 0;
}

const char* HomeVariable() { return "USERPROFILE"; }
const char* ConfigVariable() { return "APPDATA"; }
const char* ConfigFolderInHome() { return "AppData/Roaming"; }

void SetReadOnly(const std::string& path, bool readOnly) {
  const std::wstring wide = base::Utf8ToUtf16(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  ::SetFileAttributesW(
      wide.c_str(), readOnly ? (attributes | FILE_ATTRIBUTE_READONLY) : (attributes & ~DWORD{FILE_ATTRIBUTE_READONLY}));
}

std::optional<unsigned> PermissionBits(const std::string&) { return std::nullopt; }

bool UnderWine() {
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

bool HasPseudoTerminals() { return false; }

}  // namespace tessaly::testing
