#pragma once
// std::filesystem paths from the program's UTF-8 texts and back. The
// narrow-string constructor takes the system's code page on Windows; char8_t
// is UTF-8 on every platform.
#include <filesystem>
#include <string>
#include <string_view>

namespace tessaly::base {

inline std::filesystem::path FsPath(std::string_view utf8) {
  return std::filesystem::path(std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

inline std::string Utf8Path(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace tessaly::base
