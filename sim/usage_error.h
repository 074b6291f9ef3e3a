#pragma once
// What the tessaly-sim commands share: their program name and how they refuse
// a command line they do not understand.
#include <string_view>

#include "base/command_line.h"

namespace tessaly::sim {

constexpr std::string_view kProgram = "tessaly-sim";

// "tessaly-sim: MESSAGE" and the command's usage on stderr; returns 2.
int ReportUsageError(const base::ArgError& error, void (*printUsage)());

}  // namespace tessaly::sim
