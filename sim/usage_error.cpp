#include "usage_error.h"

namespace tessaly::sim {

int ReportUsageError(const base::ArgError& error, void (*printUsage)()) {
  constexpr int kUsageStatus = 2;
  base::ReportError(kProgram, error.Message(base::kEnglish), kUsageStatus);
  printUsage();
  return kUsageStatus;
}

}  // namespace tessaly::sim
