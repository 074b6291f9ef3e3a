#pragma once
// Opening files the program reads (record files, .DT files, settings): only
// regular files, so a FIFO, a device or a folder is refused at once instead
// of holding the open or feeding the reader endlessly. The descriptors are
// the C runtime's (on Windows wrapping a handle opened with a wide path).
#include <cstddef>
#include <cstdint>
#include <string>

namespace tessaly::base {

enum class FileAccess {
  kRead,
  kReadWrite,
  kReadCreate,  // reading, making a missing file (mode 0666 less the umask)
};

// Opens `path` without blocking, then checks its type. The descriptor (not
// inherited by child programs) with the file's length in `size`, or -1 when
// it cannot be opened or is not a regular file.
int OpenRegularFile(const std::string& path, FileAccess access, uint64_t& size);

// Takes an exclusive lock on the whole file without waiting, held until the
// descriptor is closed; false when another holder has one.
bool LockExclusive(int fd);

// Reads up to `size` bytes from the current position, or at `offset`; the
// count read, short at the end of the file or on a read error.
size_t ReadFully(int fd, void* buffer, size_t size);
size_t ReadFullyAt(int fd, uint64_t offset, void* buffer, size_t size);

// Tells the system that `size` bytes at `offset` will be read soon, so it
// may start reading them ahead (POSIX; Windows takes no such hint).
void AdviseWillRead(int fd, uint64_t offset, size_t size);

void CloseFile(int fd);

// Whether the file or folder at `path` exists and may be written. One without
// any write bit (a read-only attribute) counts as read-only even for root.
bool IsWritable(const std::string& path);

}  // namespace tessaly::base
