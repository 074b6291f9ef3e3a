#pragma once
// Appending printf conversions to a byte buffer without printf, for the
// exporters that write millions of numbers. The output is byte for byte what
// snprintf gives for the same pattern; cases outside the fast path are handed
// to snprintf.
#include <cstdint>
#include <string>

namespace tessaly::base {

// "%.*d"-style: the sign, then the digits padded with zeros to `minDigits`
// ("%4.4d", "%2.2d"; minDigits 1 is "%d").
void AppendInt(std::string& out, int64_t value, int minDigits = 1);

// "%.*f" with `precision` and `value` (a negative precision counts as 6, as
// printf takes it).
void AppendFixed(std::string& out, double value, int precision);

}  // namespace tessaly::base
