// tessaly-cli: a thin shell over core; commands.cpp lists the subcommands.
#include "args.h"
#include "base/command_line.h"
#include "commands.h"

int main(int argc, char** argv) {
  return tessaly::base::RunSubcommand(tessaly::cli::kProgram, argc, argv, tessaly::cli::Commands());
}
