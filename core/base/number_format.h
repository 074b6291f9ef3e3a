#pragma once
// printf conversions written straight into a character buffer, for the
// exporters that write millions of numbers. The text is byte for byte what
// snprintf gives for the same pattern; cases outside the fast path are handed
// to snprintf.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tessaly::base {

// Room WriteFixed may need: the longest "%.15f" of a double (309 integer
// digits, a sign, the point and 15 decimals).
constexpr size_t kFixedRoom = 330;
// Room WriteInt may need: a sign, 20 digits and what its wide stores write
// beyond them. WriteFixed's room likewise covers its stores.
constexpr size_t kIntRoom = 40;

// "%.*f" of `value` with `precision`, as printf, for precisions -1 to 15 (a
// negative one counts as 6, as printf takes it); a larger precision is taken
// as 15, so the text always fits kFixedRoom. Returns the end of the text.
char* WriteFixed(char* out, double value, int precision);

// ",%.*f" for each of `count` values with its precision, the value fields of
// a CSV row, in one call (needs count x (1 + kFixedRoom) bytes of room).
char* WriteFixedFields(char* out, const float* values, const int32_t* precisions, int count);

// "%.*f" for any precision, as printf: WriteFixed for the decimals counts a
// record can hold, printf for what lies beyond (more than 15 decimals): for
// texts made one at a time, as the list's cells.
class FixedText {
 public:
  // Valid until the next call.
  std::string_view operator()(double value, int precision);

 private:
  char buffer_[kFixedRoom];
  std::string wide_;
};

// "00" to "99", two characters each.
inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// "%2.2d" of v from 0 to 99, the fields of a date or time.
inline char* WriteTwoDigits(char* out, int v) {
  std::memcpy(out, &kDigitPairs[2 * v], 2);
  return out + 2;
}

// "%.*d"-style: the sign, then the digits padded with zeros to `minDigits`
// (1 to 20): "%d", "%2.2d", "%4.4d". Returns the end of the text.
char* WriteInt(char* out, int64_t value, int minDigits = 1);

}  // namespace tessaly::base
