#pragma once
// tessaly-sim and tessaly-cli as the end-to-end tests run them.
#include <string>
#include <vector>

#include "support/process.h"

namespace tessaly::testing {

inline ProcessResult Sim(std::vector<std::string> args) {
  args.insert(args.begin(), TESSALY_SIM_PATH);
  return RunProcess(args);
}

inline ProcessResult Cli(std::vector<std::string> args) {
  args.insert(args.begin(), TESSALY_CLI_PATH);
  return RunProcess(args);
}

inline std::string TestData(const std::string& name) { return std::string(TESSALY_TEST_DATA_DIR) + "/" + name; }

}  // namespace tessaly::testing
