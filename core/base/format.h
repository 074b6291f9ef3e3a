#pragma once
// printf-style formatting into std::string: the program's texts are printf
// patterns ("%2.2d", "%.*f"), and their output must match them byte for byte.
#include <string>

namespace tessaly::base {

std::string Format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

// For patterns taken from the text table (not literals).
std::string FormatText(const char* pattern, ...);

}  // namespace tessaly::base
