#pragma once
// `tessaly-sim instrument [options]`: the recorder on a pseudo-terminal.
#include <string>
#include <vector>

namespace tessaly::sim {

int RunInstrumentCommand(const std::vector<std::string>& args);
void PrintInstrumentUsage();

}  // namespace tessaly::sim
