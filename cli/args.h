#pragma once
// What the subcommands of tessaly-cli share: the language option, the FILE
// arguments, and one-line error reports on stderr.
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/command_line.h"
#include "base/format.h"

namespace tessaly::cli {

constexpr std::string_view kProgram = "tessaly-cli";

// Exit statuses: a command line that was not understood, and a failure.
constexpr int kUsageStatus = base::kUsageStatus;
constexpr int kFailureStatus = 1;

constexpr base::OptionSpec kLanguageOption{
    .name = "--lang", .value = "zh|en", .help = base::TextId::HelpOptLang, .byDefault = "en"};

// A subcommand's command line that names its files.
struct FileCommand {
  base::CommandLine line;
  std::vector<std::string> paths;  // the positional FILEs, folders standing for their record files
  int language = base::kEnglish;   // "--lang zh|en"
};

// How many FILE arguments a command takes: exactly one file, or one or more
// record files and folders of them (a record set).
enum class FileArgs { One, RecordSet };

// Parses `args` against `options`; none, with the error line printed, when
// they are not understood.
std::optional<FileCommand> ParseFileCommand(const std::vector<std::string>& args,
                                            std::span<const base::OptionSpec> options, FileArgs files);

// False, after printing "FOLDER: no record files", when the FILEs were only
// folders without a record file.
bool HasRecordFiles(const FileCommand& command);

// Prints "tessaly-cli: MESSAGE" and returns the status.
int Fail(const std::string& message, int status = kFailureStatus);
int Fail(const base::ArgError& error, int language);

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
