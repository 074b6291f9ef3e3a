#include "base/number_format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace tessaly::base {
namespace {

static_assert(std::endian::native == std::endian::little, "digits are assembled in little-endian words");

// Digits are made eight at a time in a 64-bit word (one per byte, the most
// significant first in memory) and stored 16 bytes at a time straight to
// their place: no loop per digit, no branch per length, and no reloading of
// bytes just stored one by one. The stores may run past the text, within the
// room the callers give.

// Eight ASCII digits of x < 10^8: split into lanes of 4, 2 and 1 digits,
// dividing every lane at once by multiplying with a reciprocal.
[[gnu::always_inline]] inline uint64_t EightDigits(uint64_t x) {
  uint64_t v = (x / 10000) | (x % 10000) << 32;
  const uint64_t hundreds = ((v * 10486) >> 20) & 0x0000007F0000007Full;
  v = hundreds | (v - hundreds * 100) << 16;
  const uint64_t tens = ((v * 103) >> 10) & 0x000F000F000F000Full;
  v = tens | (v - tens * 10) << 8;
  return v + 0x3030303030303030ull;
}

// Four ASCII digits of x < 10^4, the same way in a 32-bit word.
[[gnu::always_inline]] inline uint32_t FourDigits(uint32_t x) {
  const uint32_t hundreds = (x * 5243) >> 19;
  uint32_t v = hundreds | (x - hundreds * 100) << 16;
  const uint32_t tens = ((v * 103) >> 10) & 0x000F000Fu;
  v = tens | (v - tens * 10) << 8;
  return v + 0x30303030u;
}

// Sixteen ASCII digits of v < 10^16, the most significant in the lowest byte.
unsigned __int128 SixteenDigits(uint64_t v) {
  return static_cast<unsigned __int128>(EightDigits(v % 100000000)) << 64 | EightDigits(v / 100000000);
}

// Most numbers written have at most four or eight digits: one word does.
template <typename Word>
void Store(char* out, Word bytes) {
  std::memcpy(out, &bytes, sizeof bytes);
}

// The last `count` digits of `digits` (a word of 4, 8 or 16 of them) at `out`.
template <typename Word>
char* LastDigits(char* out, Word digits, int count) {
  Store(out, digits >> (8 * (static_cast<int>(sizeof(Word)) - count)));
  return out + count;
}

// "%.*f" of `units` / 10^precision with `count` digits in all, from a word of
// its digits.
template <typename Word>
char* WithPoint(char* out, Word digits, int count, int precision) {
  if (precision == 0) return LastDigits(out, digits, count);
  const int whole = count - precision;
  Store(out,
        digits >> (8 * (static_cast<int>(sizeof(Word)) - count)));  // the whole part, then digits the point moves on
  out[whole] = '.';
  return LastDigits(out + whole + 1, digits, precision);
}

constexpr uint64_t kSixteenDigits = 10000000000000000ull;

// Thresholds of the digit count: v has more than i digits when v >= kMore[i].
constexpr uint64_t kMore[20] = {0,
                                10ull,
                                100ull,
                                1000ull,
                                10000ull,
                                100000ull,
                                1000000ull,
                                10000000ull,
                                100000000ull,
                                1000000000ull,
                                10000000000ull,
                                100000000000ull,
                                1000000000000ull,
                                10000000000000ull,
                                100000000000000ull,
                                1000000000000000ull,
                                10000000000000000ull,
                                100000000000000000ull,
                                1000000000000000000ull,
                                10000000000000000000ull};

// Decimal digits of v (1 for 0): the bit length times log10(2) guesses the
// count to within one.
int DigitCount(uint64_t v) {
  const int guess = (64 - std::countl_zero(v | 1)) * 1233 >> 12;
  return guess + (v >= kMore[guess] ? 1 : 0);
}

constexpr int kMaxPrecision = 15;

// Powers of ten up to the largest precision the fast path takes. A float
// significand (24 bits) times 10^p = 5^p x 2^p keeps within the 53 bits of a
// double for p <= 12 (5^12 needs 28 bits), so the product is exact and one
// rounding to an integer gives printf's correctly rounded result.
constexpr int kFastPrecision = 12;
constexpr double kPowers[kFastPrecision + 1] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12};
constexpr double kExactLimit = 9007199254740992.0;  // 2^53 < 10^16

bool IsFloatExact(double v) { return static_cast<double>(static_cast<float>(v)) == v; }

// x (0 <= x < 2^53) rounded to an integer in the default rounding mode, that
// is half to even, as printf rounds an exact tie: adding 2^52 leaves no bits
// for a fraction. Above 2^52 every double is an integer. (std::nearbyint does
// the same through a library call that saves and restores the floating-point
// state, which costs more than the rest of the number.)
double RoundToInteger(double x) {
  constexpr double kNoFraction = 4503599627370496.0;  // 2^52
  return x < kNoFraction ? (x + kNoFraction) - kNoFraction : x;
}

}  // namespace

char* WriteInt(char* out, int64_t value, int minDigits) {
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  if (value < 0) *out++ = '-';
  int digits = std::max(DigitCount(magnitude), std::min(minDigits, 20));
  if (digits <= 4) return LastDigits(out, FourDigits(static_cast<uint32_t>(magnitude)), digits);
  if (digits <= 8) return LastDigits(out, EightDigits(magnitude), digits);
  if (digits > 16) {
    out = LastDigits(out, SixteenDigits(magnitude / kSixteenDigits), digits - 16);
    magnitude %= kSixteenDigits;
    digits = 16;
  }
  return LastDigits(out, SixteenDigits(magnitude), digits);
}

namespace {

// The texts of the commonest values ready made: units / 10^p for units below
// 10^4 and precisions p below 4 (a recorder's values mostly have one to
// three decimals and few digits), so such a value costs one load and one
// store instead of a chain of digit arithmetic.
constexpr uint32_t kShortUnits = 10000;
constexpr int kShortPrecisions = 4;
struct ShortText {
  char bytes[7];  // at most "99.99", "0.999", "9999"
  uint8_t length;
};
constexpr std::array<ShortText, kShortPrecisions * kShortUnits> MakeShortTexts() {
  std::array<ShortText, kShortPrecisions * kShortUnits> texts{};
  for (int p = 0; p < kShortPrecisions; ++p) {
    for (uint32_t units = 0; units < kShortUnits; ++units) {
      char reversed[kShortPrecisions + 1] = {};
      int n = 0;
      for (uint32_t v = units; v > 0 || n < p + 1; v /= 10) reversed[n++] = static_cast<char>('0' + v % 10);
      ShortText& text = texts[static_cast<size_t>(p) * kShortUnits + units];
      int k = 0;
      for (int i = n - 1; i >= 0; --i) {
        if (i == p - 1) text.bytes[k++] = '.';
        text.bytes[k++] = reversed[i];
      }
      text.length = static_cast<uint8_t>(k);
    }
  }
  return texts;
}
// Not constexpr: 40,000 entries exceed clang's constant-evaluation step limit;
// GCC still builds it at compile time, clang at start-up.
const std::array<ShortText, kShortPrecisions* kShortUnits> kShortTexts = MakeShortTexts();

// Leading zero digits of a word of digits (the first is in the lowest byte).
template <typename Word>
int LeadingZeros(Word digits) {
  constexpr auto kZeros = static_cast<Word>(0x3030303030303030ull);
  return std::countr_zero(static_cast<Word>(digits - kZeros)) / 8;
}

// `value` is a float widened, which the fast path needs, when kFloat is set.
template <bool kFloat>
[[gnu::always_inline]] inline char* Fixed(char* out, double value, int precision) {
  // The fast path covers what the record files hold: single-precision values
  // with up to 12 decimals whose scaled value is an exact integer.
  const bool fast =
      static_cast<unsigned>(precision) <= static_cast<unsigned>(kFastPrecision) && (kFloat || IsFloatExact(value));
  const double scaled = std::fabs(value) * kPowers[fast ? precision : 0];
  if (!fast || !(scaled < kExactLimit)) {  // also NaN and infinities
    precision = precision < 0 ? 6 : std::min(precision, kMaxPrecision);
    const int n = std::snprintf(out, kFixedRoom, "%.*f", precision, value);
    return out + (n > 0 ? std::min<size_t>(static_cast<size_t>(n), kFixedRoom - 1) : 0);
  }
  const auto units = static_cast<uint64_t>(RoundToInteger(scaled));
  if (std::signbit(value)) *out++ = '-';
  // At least one digit before the point ("0.05", not ".05"), so a word must
  // hold precision + 1 digits.
  if (units < kShortUnits && precision < kShortPrecisions) {
    const ShortText& text = kShortTexts[static_cast<size_t>(precision) * kShortUnits + units];
    std::memcpy(out, &text, sizeof text);  // the whole entry: beyond the text lies room
    return out + text.length;
  }
  if (units < 100000000 && precision < 8) {
    const uint64_t digits = EightDigits(units);
    return WithPoint(out, digits, std::max(8 - LeadingZeros(digits), precision + 1), precision);
  }
  return WithPoint(out, SixteenDigits(units), std::max(DigitCount(units), precision + 1), precision);
}

}  // namespace

char* WriteFixed(char* out, double value, int precision) { return Fixed<false>(out, value, precision); }

std::string_view FixedText::operator()(double value, int precision) {
  if (precision <= kMaxPrecision) {
    return std::string_view(buffer_, static_cast<size_t>(WriteFixed(buffer_, value, precision) - buffer_));
  }
  const int n = std::snprintf(nullptr, 0, "%.*f", precision, value);
  wide_.resize(n > 0 ? static_cast<size_t>(n) : 0);
  if (n > 0) std::snprintf(wide_.data(), wide_.size() + 1, "%.*f", precision, value);
  return wide_;
}

char* WriteFixedFields(char* out, const float* values, const int32_t* precisions, int count) {
  for (int i = 0; i < count; ++i) {
    *out++ = ',';
    out = Fixed<true>(out, values[i], precisions[i]);
  }
  return out;
}

}  // namespace tessaly::base
