#include "base/regular_file.h"

#include <fcntl.h>
#include <io.h>

#include <algorithm>

#include <windows.h>

#include "base/utf16.h"

namespace tessaly::base {
namespace {

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }

// Reads at `offset`, or at the file pointer when `offset` is null, in pieces
// a DWORD can count.
size_t ReadHandle(HANDLE file, const uint64_t* offset, void* buffer, size_t size) {
  auto* out = static_cast<unsigned char*>(buffer);
  size_t done = 0;
  while (done < size) {
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 30));
    OVERLAPPED at{};
    if (offset) {
      const uint64_t position = *offset + done;
      at.Offset = static_cast<DWORD>(position);
      at.OffsetHigh = static_cast<DWORD>(position >> 32);
    }
    DWORD n = 0;
    if (!::ReadFile(file, out + done, piece, &n, offset ? &at : nullptr) || n == 0) break;
    done += n;
  }
  return done;
}

}  // namespace

int OpenRegularFile(const std::string& path, FileAccess access, uint64_t& size) {
  const DWORD rights = GENERIC_READ | (access == FileAccess::kReadWrite ? GENERIC_WRITE : 0);
  const DWORD disposition = access == FileAccess::kReadCreate ? OPEN_ALWAYS : OPEN_EXISTING;
  // Sharing as POSIX does; the record file's exclusion is its lock.
  const HANDLE file =
      ::CreateFileW(Utf8ToUtf16(path).c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  LARGE_INTEGER length{};
  if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileSizeEx(file, &length)) {
    ::CloseHandle(file);
    return -1;
  }
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file),
                                   _O_BINARY | _O_NOINHERIT | (access == FileAccess::kReadWrite ? 0 : _O_RDONLY));
  if (fd < 0) {
    ::CloseHandle(file);
    return -1;
  }
  size = static_cast<uint64_t>(length.QuadPart);
  return fd;
}

bool LockExclusive(int fd) {
  OVERLAPPED whole{};
  return ::LockFileEx(HandleOf(fd), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                      &whole) != 0;
}

size_t ReadFully(int fd, void* buffer, size_t size) { return ReadHandle(HandleOf(fd), nullptr, buffer, size); }

size_t ReadFullyAt(int fd, uint64_t offset, void* buffer, size_t size) {
  return ReadHandle(HandleOf(fd), &offset, buffer, size);
}

void AdviseWillRead(int, uint64_t, size_t) {}

void CloseFile(int fd) { ::_close(fd); }

bool IsWritable(const std::string& path) {
  const std::wstring wide = Utf8ToUtf16(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
  // Only the access rules tell whether a folder (Program Files) takes new
  // files: making and removing a probe file asks them.
  wchar_t probe[MAX_PATH];
  if (!::GetTempFileNameW(wide.c_str(), L"tsy", 0, probe)) return false;
  ::DeleteFileW(probe);
  return true;
}

}  // namespace tessaly::base
