#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "base/number_format.h"

namespace tessaly::base {
namespace {

std::string Printf(const char* pattern, auto... args) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, pattern, args...);
  return buffer;
}

std::string Fixed(double value, int precision) {
  char out[kFixedRoom + 1];
  out[kFixedRoom] = '#';
  char* end = WriteFixed(out, value, precision);
  EXPECT_EQ(out[kFixedRoom], '#');  // never beyond the room it asks for
  return std::string(out, static_cast<size_t>(end - out));
}

TEST(NumberFormat, FixedMatchesPrintfOnHardCases) {
  const float inf = std::numeric_limits<float>::infinity();
  const float values[] = {0.0f,     -0.0f,       0.5f,
                          1.5f,     2.5f,        -2.5f,
                          0.25f,    0.125f,      -0.04f,
                          3.0f,     0.05f,       0.15f,
                          1e-6f,    9.995f,      99.5f,
                          45000.0f, -19999.0f,   123456.79f,
                          1.0e7f,   16777216.0f, 3.0e15f,
                          1.0e30f,  -3.4e38f,    1.4e-45f,
                          inf,      -inf,        std::numeric_limits<float>::quiet_NaN(),
                          0.1f,     0.3f,        2.675f};
  for (float v : values)
    for (int precision = -2; precision <= 15; ++precision)
      EXPECT_EQ(Fixed(v, precision), Printf("%.*f", precision, static_cast<double>(v)))
          << "value " << v << " precision " << precision;
}

// The boundary values and their float neighbours, where a digit or a
// rounding decision changes.
TEST(NumberFormat, FixedMatchesPrintfAroundBoundaries) {
  const float boundaries[] = {0.5f,  9.995f,  -0.0f,  1e-7f,       3.4e38f,
                              0.05f, 99.995f, 1e-45f, 16777216.0f, 4503599627370496.0f};
  for (float b : boundaries) {
    for (float v : {std::nextafter(b, -INFINITY), b, std::nextafter(b, INFINITY), -b}) {
      for (int precision = 0; precision <= 15; ++precision)
        EXPECT_EQ(Fixed(v, precision), Printf("%.*f", precision, static_cast<double>(v)))
            << "value " << v << " precision " << precision;
    }
  }
}

// Millions of floats, each at one decimals count of 0 to 15 in turn: any bit
// pattern (tiny, huge, not a number), values as a recorder holds them, and
// binary fractions k / 2^m, which are exact ties at some decimals count.
TEST(NumberFormat, FixedMatchesPrintfOnRandomFloats) {
  constexpr int kFloats = 3'000'000;
  std::mt19937 random(42);
  std::uniform_real_distribution<float> plain(-50000.0f, 50000.0f);
  std::uniform_int_distribution<uint32_t> bits;
  std::uniform_int_distribution<int> shift(0, 40);
  char printed[512];
  char written[kFixedRoom];
  for (int i = 0; i < kFloats; ++i) {
    const int precision = i % 16;
    float v = 0.0f;
    switch (i / 16 % 3) {
      case 0: {
        const uint32_t b = bits(random);
        std::memcpy(&v, &b, 4);
        break;
      }
      case 1: v = plain(random); break;
      default: v = std::ldexp(static_cast<float>(static_cast<int32_t>(bits(random)) >> 8), -shift(random)); break;
    }
    const int n = std::snprintf(printed, sizeof printed, "%.*f", precision, static_cast<double>(v));
    const char* end = WriteFixed(written, v, precision);
    ASSERT_EQ(std::string_view(written, static_cast<size_t>(end - written)),
              std::string_view(printed, static_cast<size_t>(n)))
        << "value " << v << " precision " << precision;
  }
}

// Beyond 15 decimals, which no record holds, the text is still printf's.
TEST(NumberFormat, FixedTextTakesAnyPrecision) {
  FixedText text;
  for (double v : {123.456, -0.1, 3.4e38, 0.5})
    for (int precision : {-1, 0, 7, 15, 16, 40, 100})
      EXPECT_EQ(text(v, precision), Printf("%.*f", precision, v)) << "value " << v << " precision " << precision;
}

TEST(NumberFormat, FixedTakesPlainDoublesToo) {
  for (double v : {0.1, 1.0 / 3.0, 2.0 / 3.0 * 1e9, -1234.5678901234, -1.7e308})
    for (int precision : {0, 2, 6, 12, 15}) EXPECT_EQ(Fixed(v, precision), Printf("%.*f", precision, v));
  EXPECT_EQ(Fixed(0.1, 40), Printf("%.15f", 0.1));  // beyond 15 is taken as 15
}

TEST(NumberFormat, IntMatchesZeroPaddedPrintf) {
  for (int64_t v : {0LL, 5LL, -1LL, 12LL, 2015LL, -2015LL, 123456LL, 99999LL}) {
    for (const auto& [digits, pattern] : {std::pair{1, "%d"}, std::pair{2, "%2.2d"}, std::pair{4, "%4.4d"}}) {
      char out[kIntRoom];
      EXPECT_EQ(std::string(out, static_cast<size_t>(WriteInt(out, v, digits) - out)),
                Printf(pattern, static_cast<int>(v)));
    }
  }
  char extreme[kIntRoom];
  EXPECT_EQ(std::string(extreme, static_cast<size_t>(WriteInt(extreme, INT64_MIN) - extreme)), "-9223372036854775808");
}

}  // namespace
}  // namespace tessaly::base
