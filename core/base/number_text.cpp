#include "base/number_text.h"

#include <limits>
#include <string>

namespace tessaly::base {
namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t SkipDigits(std::string_view text, size_t i) {
  while (i < text.size() && IsDigit(text[i])) ++i;
  return i;
}

// Length of the decimal number at the start of `text` (after the sign), 0
// when there is none.
size_t DecimalLength(std::string_view text) {
  size_t i = SkipDigits(text, 0);
  size_t digits = i;
  if (i < text.size() && text[i] == '.') {
    const size_t fraction = SkipDigits(text, i + 1);
    digits += fraction - i - 1;
    i = fraction;
  }
  if (digits == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t e = i + 1;
    if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
    const size_t end = SkipDigits(text, e);
    if (end > e) i = end;
  }
  return i;
}

}  // namespace

double LeadingDecimal(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  const size_t signEnd = i < text.size() && (text[i] == '+' || text[i] == '-') ? i + 1 : i;
  const size_t length = DecimalLength(text.substr(signEnd));
  if (length == 0) return 0.0;
  // The scanned text is plain decimal, so strtod converts exactly it.
  return StrtodInCLocale(std::string(text.substr(i, signEnd - i + length)).c_str());
}

int64_t LeadingInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    const int digit = text[i] - '0';
    if (value > (std::numeric_limits<int64_t>::max() - digit) / 10) {
      return negative ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
    }
    value = value * 10 + digit;
  }
  return negative ? -value : value;
}

}  // namespace tessaly::base
