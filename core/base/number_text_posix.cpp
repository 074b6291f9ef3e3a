#include "base/number_text.h"

#include <locale.h>
#include <stdlib.h>

namespace tessaly::base {

double StrtodInCLocale(const char* text) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  return strtod_l(text, nullptr, cLocale);
}

}  // namespace tessaly::base
