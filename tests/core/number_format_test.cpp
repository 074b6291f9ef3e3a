#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

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
  const float values[] = {0.0f,     -0.0f,      0.5f,      1.5f,       2.5f,      -2.5f,   0.25f,     0.125f,
                          -0.04f,   3.0f,       0.05f,     0.15f,      1e-6f,     9.995f,  99.5f,     45000.0f,
                          -19999.0f, 123456.79f, 1.0e7f,   16777216.0f, 3.0e15f,  1.0e30f, -3.4e38f,  1.4e-45f,
                          inf,      -inf,       std::numeric_limits<float>::quiet_NaN(), 0.1f, 0.3f, 2.675f};
  for (float v : values)
    for (int precision = -2; precision <= 15; ++precision)
      EXPECT_EQ(Fixed(v, precision), Printf("%.*f", precision, static_cast<double>(v)))
          << "value " << v << " precision " << precision;
}

TEST(NumberFormat, FixedMatchesPrintfOnRandomFloats) {
  std::mt19937 random(42);
  std::uniform_real_distribution<float> plain(-50000.0f, 50000.0f);
  std::uniform_int_distribution<uint32_t> bits;
  for (int i = 0; i < 20000; ++i) {
    const int precision = i % 16;
    float v = plain(random);
    if (i % 3 == 0) {  // any bit pattern: tiny, huge, exact ties
      const uint32_t b = bits(random);
      std::memcpy(&v, &b, 4);
    }
    ASSERT_EQ(Fixed(v, precision), Printf("%.*f", precision, static_cast<double>(v)))
        << "value " << v << " precision " << precision;
  }
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
      EXPECT_EQ(std::string(out, static_cast<size_t>(WriteInt(out, v, digits) - out)), Printf(pattern, static_cast<int>(v)));
    }
  }
  char extreme[kIntRoom];
  EXPECT_EQ(std::string(extreme, static_cast<size_t>(WriteInt(extreme, INT64_MIN) - extreme)), "-9223372036854775808");
}

}  // namespace
}  // namespace tessaly::base
