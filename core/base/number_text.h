#pragma once
// Numbers typed into edit fields are read the way the C runtime reads them:
// leading blanks skipped, the longest leading part that forms a number
// converted, the rest ignored; a text that does not start with a number is 0.
#include <cstdint>
#include <string_view>

namespace tessaly::base {

// Decimal floating-point: sign, digits, point, exponent. Independent of the
// locale (the point is always '.'); "inf", "nan" and hex are not numbers.
double LeadingDecimal(std::string_view text);

// strtod of a whole text in the C locale (number_text_posix.cpp,
// number_text_win32.cpp): the point is '.' whatever the user's locale says.
double StrtodInCLocale(const char* text);

// Decimal integer: sign and digits. Saturates at the int64 limits.
int64_t LeadingInteger(std::string_view text);

}  // namespace tessaly::base
