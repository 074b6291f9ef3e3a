#pragma once
// `tessaly-sim record -o FILE [options]`: writes a record file.
#include <string>
#include <vector>

namespace tessaly::sim {

int RunRecordCommand(const std::vector<std::string>& args);
void PrintRecordUsage();

}  // namespace tessaly::sim
