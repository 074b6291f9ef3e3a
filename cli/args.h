#pragma once
// What the subcommands of tessaly-cli share: the language option, the FILE
// argument, opening a record file, and one-line error reports on stderr.
#include <functional>
#include <optional>
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
constexpr int kUsageStatus = base::kUsageStatus;
constexpr int kFailureStatus = 1;

constexpr base::OptionSpec kLanguageOption{
    .name = "--lang", .value = "zh|en", .help = base::TextId::HelpOptLang, .byDefault = "en"};

// A subcommand's command line that names one record file.
struct FileCommand {
  base::CommandLine line;
  std::string path;               // the one positional FILE
  int language = base::kEnglish;  // "--lang zh|en"
};

// Parses `args` against `options`; none, with the error line printed, when
// they are not understood.
std::optional<FileCommand> ParseFileCommand(const std::vector<std::string>& args,
                                            std::span<const base::OptionSpec> options);

// Prints "tessaly-cli: MESSAGE" and returns the status.
int Fail(const std::string& message, int status = kFailureStatus);
int Fail(const base::ArgError& error, int language);

// Opens `path` as the record file of `data` (language set beforehand) and
// reads its header, so names, units, headerSectors and dataSectors are set.
// False, with "文件打开失败" / "Failed to open file" printed, when it cannot.
bool OpenRecord(const std::string& path, settings::CRecorderData& data);

// Runs `write` (which returns the exit status) on the file `out`, or for "-o -"
// on a temporary file that then goes to stdout.
int WriteOutput(const std::string& out, int language, const std::function<int(const std::string& path)>& write);

// "文件打开失败" / "Failed to open file" with the path.
std::string OpenFailedMessage(const std::string& path, int language);

// A text of the table in the run's language, formatted.
template <typename... Args>
std::string Message(base::TextId id, int language, Args... args) {
  return base::FormatText(base::Text(id, language), args...);
}

}  // namespace tessaly::cli
