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

// Three sectors of four samples at 500 ms across midnight; the middle one
// has month 0, the last carries a marker value and a row of the other.
inline const std::vector<std::string> kSmallRecord = {"--channels", "3",
                                                      "--samples",  "4",
                                                      "--interval", "5",
                                                      "--sectors",  "3",
                                                      "--start",    "2015-01-05 23:59:58",
                                                      "--device",   "小记录仪",
                                                      "--name",     "1=温度1",
                                                      "--unit",     "1=℃",
                                                      "--name",     "2=Pressure",
                                                      "--unit",     "2=kPa",
                                                      "--decimals", "1=1",
                                                      "--decimals", "2=2",
                                                      "--decimals", "3=0",
                                                      "--wave",     "1=ramp:20.25,0.5",
                                                      "--wave",     "2=square:-1.5,2.75,4",
                                                      "--wave",     "3=constant:7",
                                                      "--fault",    "1=month-zero",
                                                      "--marker",   "2:0:3=high",
                                                      "--marker",   "2:2=low"};

inline std::string TestData(const std::string& name) { return std::string(TESSALY_TEST_DATA_DIR) + "/" + name; }

}  // namespace tessaly::testing
