#pragma once
// Fuzz inputs as files: the readers under test open paths, as the program's do.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tessaly::fuzz {

// A folder of this process's own, made once and left for the system to clear.
inline const std::string& WorkFolder() {
  static const std::string folder = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tessaly-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data())) std::abort();
    return pattern;
  }();
  return folder;
}

// Writes the input to `name` in the work folder and returns its path.
inline std::string InputFile(const uint8_t* data, size_t size, const char* name) {
  const std::string path = WorkFolder() + "/" + name;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file || (size > 0 && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0) std::abort();
  return path;
}

}  // namespace tessaly::fuzz
