#pragma once
// Opening files the program reads (record files, .DT files, settings): only
// regular files, so a FIFO, a device or a folder is refused at once instead
// of holding the open or feeding the reader endlessly.
#include <cstdint>
#include <string>

namespace tessaly::base {

// Opens `path` with `flags` (O_RDONLY or O_RDWR, O_CREAT makes it with mode
// 0666 less the umask) without blocking, then checks its type. The descriptor (close-on-exec) with the file's length in
// `size`, or -1 when it cannot be opened or is not a regular file.
int OpenRegularFile(const std::string& path, int flags, uint64_t& size);

}  // namespace tessaly::base
