#include "base/atomic_file.h"

#include <fcntl.h>
#include <io.h>

#include <random>

#include <windows.h>

#include "base/format.h"
#include "base/utf16.h"

namespace tessaly::base {

std::FILE* AtomicFile::CreateBeside(const std::string& target, std::string& tempPath) {
  // A new name each try, made only when nothing has it (CREATE_NEW).
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string path = target + Format(".%06x", static_cast<unsigned>(random() & 0xFFFFFF));
    // Shared: writers with a path of their own (libxlsxwriter) open it again.
    const HANDLE file = ::CreateFileW(Utf8ToUtf16(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      if (::GetLastError() == ERROR_FILE_EXISTS) continue;
      return nullptr;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY | _O_NOINHERIT);
    std::FILE* stream = fd >= 0 ? ::_fdopen(fd, "wb") : nullptr;
    if (!stream) {
      if (fd >= 0)
        ::_close(fd);
      else
        ::CloseHandle(file);
      ::DeleteFileW(Utf8ToUtf16(path).c_str());
      return nullptr;
    }
    tempPath = path;
    return stream;
  }
  return nullptr;
}

bool AtomicFile::SyncAndClose(std::FILE* file) {
  bool ok = std::fflush(file) == 0;
  ok = ::FlushFileBuffers(reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)))) != 0 && ok;
  return std::fclose(file) == 0 && ok;
}

bool AtomicFile::Replace(const std::string& from, const std::string& to) {
  return ::MoveFileExW(Utf8ToUtf16(from).c_str(), Utf8ToUtf16(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void AtomicFile::Remove(const std::string& path) { ::DeleteFileW(Utf8ToUtf16(path).c_str()); }

}  // namespace tessaly::base
