// tessaly-cli: a thin shell over core, one table line per subcommand.
#include "base/command_line.h"
#include "args.h"
#include "commands.h"

namespace {

constexpr tessaly::base::Subcommand kCommands[] = {
    {"info", tessaly::cli::RunInfo},
    {"csv", tessaly::cli::RunCsv},
    {"pages", tessaly::cli::RunPages},
    {"xlsx", tessaly::cli::RunXlsx},
    {"search", tessaly::cli::RunSearch},
    {"stats", tessaly::cli::RunStats},
};

}  // namespace

int main(int argc, char** argv) {
  return tessaly::base::RunSubcommand(tessaly::cli::kProgram, argc, argv, kCommands);
}
