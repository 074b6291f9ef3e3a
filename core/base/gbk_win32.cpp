#include <string>

#include <windows.h>

#include "base/gbk.h"
#include "base/utf16.h"

namespace tessaly::base {
namespace {

constexpr UINT kGbk = 936;

bool IsGbkLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// One GBK character (one or two bytes) to UTF-16; empty when it is none.
std::wstring GbkCharacter(const char* bytes, int size) {
  wchar_t out[2];
  const int n = ::MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, bytes, size, out, 2);
  return n > 0 ? std::wstring(out, static_cast<size_t>(n)) : std::wstring();
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  // Character by character, so that an invalid byte becomes one U+FFFD and
  // the text after it still converts (what iconv gives on POSIX).
  std::wstring wide;
  wide.reserve(gbk.size());
  size_t i = 0;
  while (i < gbk.size()) {
    const auto c = static_cast<unsigned char>(gbk[i]);
    if (c < 0x80) {
      wide += static_cast<wchar_t>(c);
      ++i;
      continue;
    }
    if (IsGbkLead(c) && i + 1 < gbk.size()) {
      const std::wstring pair = GbkCharacter(gbk.data() + i, 2);
      if (!pair.empty()) {
        wide += pair;
        i += 2;
        continue;
      }
    }
    wide += L'\xFFFD';
    ++i;
  }
  return Utf16ToUtf8(wide);
}

std::string Utf8ToGbk(std::string_view utf8) {
  const std::wstring wide = Utf8ToUtf16(utf8);
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < wide.size()) {
    // A surrogate pair is one character.
    const int units = (wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size()) ? 2 : 1;
    char bytes[4];
    BOOL lossy = FALSE;
    const int n =
        ::WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data() + i, units, bytes, sizeof bytes, nullptr, &lossy);
    if (n <= 0 || lossy)
      out += '?';
    else
      out.append(bytes, static_cast<size_t>(n));
    i += static_cast<size_t>(units);
  }
  return out;
}

}  // namespace tessaly::base
