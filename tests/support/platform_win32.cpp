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

bool HasPseudoTerminals() { return false; }

}  // namespace tessaly::testing
