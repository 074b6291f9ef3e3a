// tessaly-cli: a thin shell over core, one table line per subcommand.
#include "base/command_line.h"
#include "args.h"
#include "commands.h"

namespace {

constexpr tessaly::base::Subcommand kCommands[] = {
    {"info", tessaly::cli::RunInfo},
    {"pages", tessaly::cli::RunPages},
    {"csv", tessaly::cli::RunCsv},
    {"xlsx", tessaly::cli::RunXlsx},
    {"search", tessaly::cli::RunSearch},
    {"stats", tessaly::cli::RunStats},
    {"print", tessaly::cli::RunPrint},
    {"acquire", tessaly::cli::RunAcquire},
    {"dt2csv", tessaly::cli::RunDt2Csv},
};

}  // namespace

int main(int argc, char** argv) {
  return tessaly::base::RunSubcommand(tessaly::cli::kProgram, argc, argv, kCommands);
}
