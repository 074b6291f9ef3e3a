#pragma once
// UTF-8 (every text inside the program) to and from UTF-16 (Windows' wide
// API). Built on Windows only, where every path reaches the system wide.
#include <string>
#include <string_view>

namespace tessaly::base {

std::wstring Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::wstring_view utf16);

}  // namespace tessaly::base
