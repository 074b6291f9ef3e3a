#pragma once
// The subcommands of tessaly-cli, one file each; main.cpp lists them.
#include <string>
#include <vector>

namespace tessaly::cli {

int RunInfo(const std::vector<std::string>& args);
int RunCsv(const std::vector<std::string>& args);
int RunPages(const std::vector<std::string>& args);
int RunXlsx(const std::vector<std::string>& args);
int RunSearch(const std::vector<std::string>& args);
int RunStats(const std::vector<std::string>& args);
int RunAcquire(const std::vector<std::string>& args);
int RunPrint(const std::vector<std::string>& args);
int RunDt2Csv(const std::vector<std::string>& args);

}  // namespace tessaly::cli
