// tessaly-sim: one table line per subcommand.
#include "base/command_line.h"
#include "instrument_command.h"
#include "record_command.h"
#include "usage_error.h"

namespace {

constexpr tessaly::base::Subcommand kCommands[] = {
    {"record", tessaly::sim::RunRecordCommand},
    {"instrument", tessaly::sim::RunInstrumentCommand},
};

void Usage() {
  tessaly::sim::PrintRecordUsage();
  tessaly::sim::PrintInstrumentUsage();
}

}  // namespace

int main(int argc, char** argv) { return tessaly::base::RunSubcommand(tessaly::sim::kProgram, argc, argv, kCommands, Usage); }
