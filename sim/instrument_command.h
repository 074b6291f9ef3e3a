#pragma once
// `tessaly-sim instrument [options]`: the recorder on a pseudo-terminal.
#include <span>
#include <string>
#include <vector>

#include "base/command_line.h"

namespace tessaly::sim {

int RunInstrumentCommand(const std::vector<std::string>& args);
std::span<const base::OptionSpec> InstrumentCommandOptions();

}  // namespace tessaly::sim
