#pragma once
// Runs a program to its end and captures what it wrote.
#include <string>
#include <vector>

namespace tessaly::testing {

struct ProcessResult {
  int exitCode = -1;  // -1 when it did not exit normally (killed by a signal)
  std::string out;
  std::string err;
};

// `argv[0]` is the program's path; no shell is involved.
ProcessResult RunProcess(const std::vector<std::string>& argv);

}  // namespace tessaly::testing
