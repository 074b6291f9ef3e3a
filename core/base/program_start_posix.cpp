#include "base/program_start.h"

namespace tessaly::base {

// POSIX streams have no text mode.
void SetBinaryStandardStreams() {}

std::vector<std::string> ProgramArguments(int argc, char** argv) { return {argv, argv + argc}; }

}  // namespace tessaly::base
