// tessaly-sim: one table line per subcommand.
#include "base/command_line.h"
#include "record_command.h"

namespace {

constexpr tessaly::base::Subcommand kCommands[] = {
    {"record", tessaly::sim::RunRecordCommand},
};

void Usage() { tessaly::sim::PrintRecordUsage(); }

}  // namespace

int main(int argc, char** argv) { return tessaly::base::RunSubcommand("tessaly-sim", argc, argv, kCommands, Usage); }
