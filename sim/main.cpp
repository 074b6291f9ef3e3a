// tessaly-sim: usage_error.cpp lists the subcommands.
#include "base/command_line.h"
#include "usage_error.h"

int main(int argc, char** argv) {
  return tessaly::base::RunSubcommand(tessaly::sim::kProgram, argc, argv, tessaly::sim::Commands(),
                                      tessaly::sim::PrintUsage);
}
