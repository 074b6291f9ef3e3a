#include "base/gbk.h"

#include <cstring>

// The conversions are in gbk_posix.cpp (iconv) and gbk_win32.cpp (code page 936).
namespace tessaly::base {

std::string_view FieldText(const char* field, size_t size) {
  const void* zero = std::memchr(field, 0, size);
  return std::string_view(field, zero ? static_cast<const char*>(zero) - field : size);
}

void SetFieldText(char* field, size_t size, std::string_view gbk) {
  if (size == 0) return;
  size_t n = 0;
  // Walk whole characters: a GBK lead byte (0x81..0xFE) takes its trail byte along.
  while (n < gbk.size()) {
    const unsigned char c = static_cast<unsigned char>(gbk[n]);
    const size_t len = (c >= 0x81 && c <= 0xFE && n + 1 < gbk.size()) ? 2 : 1;
    if (n + len > size - 1) break;
    n += len;
  }
  std::memset(field, 0, size);
  std::memcpy(field, gbk.data(), n);
}

}  // namespace tessaly::base
