#include "base/format.h"

#include <cstdarg>
#include <cstdio>

namespace tessaly::base {
namespace {

std::string FormatV(const char* pattern, va_list args) {
  char small[256];
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(small, sizeof small, pattern, copy);
  va_end(copy);
  if (n < 0) return {};
  if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
  std::string out(static_cast<size_t>(n), '\0');
  std::vsnprintf(out.data(), out.size() + 1, pattern, args);
  return out;
}

}  // namespace

std::string Format(const char* pattern, ...) {
  va_list args;
  va_start(args, pattern);
  std::string out = FormatV(pattern, args);
  va_end(args);
  return out;
}

std::string FormatText(const char* pattern, ...) {
  va_list args;
  va_start(args, pattern);
  std::string out = FormatV(pattern, args);
  va_end(args);
  return out;
}

}  // namespace tessaly::base
