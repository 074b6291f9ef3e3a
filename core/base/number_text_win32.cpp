#include "base/number_text.h"

#include <locale.h>
#include <stdlib.h>

namespace tessaly::base {

double StrtodInCLocale(const char* text) {
  static const _locale_t cLocale = ::_create_locale(LC_ALL, "C");
  return ::_strtod_l(text, nullptr, cLocale);
}

}  // namespace tessaly::base
