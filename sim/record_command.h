#pragma once
// `tessaly-sim record -o FILE [options]`: writes a record file.
#include <span>
#include <string>
#include <vector>

#include "base/command_line.h"

namespace tessaly::sim {

int RunRecordCommand(const std::vector<std::string>& args);
std::span<const base::OptionSpec> RecordCommandOptions();

}  // namespace tessaly::sim
