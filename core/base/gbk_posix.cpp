#include "base/gbk.h"

#include <iconv.h>

#include <cerrno>

namespace tessaly::base {
namespace {

// Converts with iconv; an invalid input byte becomes `replacement`.
std::string Convert(const char* to, const char* from, std::string_view in, std::string_view replacement) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  std::string out;
  out.reserve(in.size() * 3 / 2 + 4);
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char buffer[512];
  while (srcLeft > 0) {
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buffer, sizeof buffer - dstLeft);
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (truncated sequence): replace one byte and go on.
      out.append(replacement);
      ++src;
      --srcLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) { return Convert("UTF-8", "GBK", gbk, "\xEF\xBF\xBD"); }

std::string Utf8ToGbk(std::string_view utf8) {
  // One character at a time, so a character GBK lacks becomes a single '?'.
  iconv_t cd = iconv_open("GBK", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    size_t len = Utf8SequenceLength(static_cast<unsigned char>(utf8[i]));
    if (i + len > utf8.size()) len = utf8.size() - i;
    char* src = const_cast<char*>(utf8.data() + i);
    size_t srcLeft = len;
    char buffer[8];
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) {
      out += '?';
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    } else {
      out.append(buffer, sizeof buffer - dstLeft);
    }
    i += len;
  }
  iconv_close(cd);
  return out;
}

}  // namespace tessaly::base
