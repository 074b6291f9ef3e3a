#include "base/number_format.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace tessaly::base {
namespace {

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the decimal digits of `v` right-aligned ending before `end`; returns
// the first digit's position.
char* WriteDigits(char* end, uint64_t v) {
  while (v >= 100) {
    const auto pair = static_cast<size_t>(v % 100) * 2;
    v /= 100;
    *--end = kDigitPairs[pair + 1];
    *--end = kDigitPairs[pair];
  }
  if (v >= 10) {
    const auto pair = static_cast<size_t>(v) * 2;
    *--end = kDigitPairs[pair + 1];
    *--end = kDigitPairs[pair];
  } else {
    *--end = static_cast<char>('0' + v);
  }
  return end;
}

// Powers of ten up to the largest precision the fast path takes. A float
// significand (24 bits) times 10^p = 5^p x 2^p keeps within the 53 bits of a
// double for p <= 12 (5^12 needs 28 bits), so the product is exact and one
// rounding to an integer gives printf's correctly rounded result.
constexpr int kFastPrecision = 12;
constexpr double kPowers[kFastPrecision + 1] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6,
                                                1e7, 1e8, 1e9, 1e10, 1e11, 1e12};
constexpr double kExactLimit = 9007199254740992.0;  // 2^53

bool IsFloatExact(double v) { return static_cast<double>(static_cast<float>(v)) == v; }

void AppendFixedSlow(std::string& out, double value, int precision) {
  char small[64];
  const int n = std::snprintf(small, sizeof small, "%.*f", precision, value);
  if (n < 0) return;
  if (static_cast<size_t>(n) < sizeof small) {
    out.append(small, static_cast<size_t>(n));
    return;
  }
  const size_t at = out.size();
  out.resize(at + static_cast<size_t>(n) + 1);
  std::snprintf(&out[at], static_cast<size_t>(n) + 1, "%.*f", precision, value);
  out.resize(at + static_cast<size_t>(n));
}

}  // namespace

void AppendInt(std::string& out, int64_t value, int minDigits) {
  char buffer[48];
  char* const end = buffer + sizeof buffer;
  const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  char* p = WriteDigits(end, magnitude);
  if (minDigits > 40) minDigits = 40;
  while (end - p < minDigits) *--p = '0';
  if (value < 0) *--p = '-';
  out.append(p, static_cast<size_t>(end - p));
}

void AppendFixed(std::string& out, double value, int precision) {
  // The fast path covers what the record files hold: single-precision values
  // with up to 12 decimals and magnitudes whose scaled value is an exact integer.
  if (precision < 0 || precision > kFastPrecision || !IsFloatExact(value)) {
    AppendFixedSlow(out, value, precision);
    return;
  }
  const double scaled = std::fabs(value) * kPowers[precision];
  if (!(scaled < kExactLimit)) {  // also NaN and infinities
    AppendFixedSlow(out, value, precision);
    return;
  }
  // nearbyint rounds half to even in the default rounding mode, as printf does
  // with an exact tie.
  const auto units = static_cast<uint64_t>(std::nearbyint(scaled));
  char buffer[40];
  char* const end = buffer + sizeof buffer;
  char* p = WriteDigits(end, units);
  // At least one digit before the point.
  while (end - p < precision + 1) *--p = '0';
  if (std::signbit(value)) *--p = '-';
  const auto length = static_cast<size_t>(end - p);
  if (precision == 0) {
    out.append(p, length);
    return;
  }
  const size_t integerPart = length - static_cast<size_t>(precision);
  const size_t at = out.size();
  out.resize(at + length + 1);
  char* dst = &out[at];
  std::memcpy(dst, p, integerPart);
  dst[integerPart] = '.';
  std::memcpy(dst + integerPart + 1, p + integerPart, static_cast<size_t>(precision));
}

}  // namespace tessaly::base
