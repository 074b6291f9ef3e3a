#pragma once
// What the subcommands of tessaly-cli share: the language option, the FILE
// argument, opening a record file, and one-line error reports on stderr.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/command_line.h"
#include "base/format.h"
#include "settings/recorder_data.h"

namespace tessaly::cli {

constexpr std::string_view kProgram = "tessaly-cli";

// Exit statuses: a command line that was not understood, and a failure.
constexpr int kUsageStatus = 2;
constexpr int kFailureStatus = 1;

constexpr base::OptionSpec kLanguageOption{"--lang"};

// Parses `args` against `options` and reads "--lang zh|en" into `language`
// (English by default) and the one positional FILE into `path`. On failure it
// has printed the error line.
bool ParseFileCommand(const std::vector<std::string>& args, std::span<const base::OptionSpec> options,
                      base::CommandLine& line, std::string& path, int& language);

// Prints "tessaly-cli: MESSAGE" and returns the status.
int Fail(const std::string& message, int status = kFailureStatus);
int Fail(const base::ArgError& error, int language);

// Opens `path` as the record file of `data` (language set beforehand) and
// reads its header, so names, units, headerSectors and dataSectors are set.
// False, with "文件打开失败" / "Failed to open file" printed, when it cannot.
bool OpenRecord(const std::string& path, settings::CRecorderData& data);

// A text of the table in the run's language, formatted.
template <typename... Args>
std::string Message(base::TextId id, int language, Args... args) {
  return base::FormatText(base::Text(id, language), args...);
}

}  // namespace tessaly::cli
