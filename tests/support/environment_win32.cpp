#include <cstdlib>

#include "support/temp_dir.h"

namespace tessaly::testing {

// An empty value removes the variable: Windows has no empty ones.
void SetEnv(const char* name, const char* value) { ::_putenv_s(name, value ? value : ""); }

}  // namespace tessaly::testing
