#pragma once
// The subcommands of tessaly-cli, one file each with the table of the
// options it accepts; commands.cpp lists them.
#include <span>
#include <string>
#include <vector>

#include "base/command_line.h"

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

std::span<const base::OptionSpec> InfoOptions();
std::span<const base::OptionSpec> CsvOptions();
std::span<const base::OptionSpec> PagesOptions();
std::span<const base::OptionSpec> XlsxOptions();
std::span<const base::OptionSpec> SearchOptions();
std::span<const base::OptionSpec> StatsOptions();
std::span<const base::OptionSpec> PrintOptions();
std::span<const base::OptionSpec> AcquireOptions();
std::span<const base::OptionSpec> Dt2CsvOptions();

// Every subcommand with its options, what it does and an example.
std::span<const base::Subcommand> Commands();

}  // namespace tessaly::cli
