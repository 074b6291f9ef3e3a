#include <cstdlib>

#include "support/temp_dir.h"

namespace tessaly::testing {

void SetEnv(const char* name, const char* value) {
  if (value)
    ::setenv(name, value, 1);
  else
    ::unsetenv(name);
}

}  // namespace tessaly::testing
