#include "args.h"

#include <cstdio>

#include "base/stdout_file.h"
#include "record/record_set.h"

namespace tessaly::cli {

namespace {

// Sets `error` to the first thing wrong with the command line, if any.
bool Understand(const std::vector<std::string>& args, std::span<const base::OptionSpec> options, FileArgs files,
                base::CommandLine& line, std::vector<std::string>& paths, base::ArgError& error) {
  if (!line.Parse(args, options, error)) return false;
  if (const std::string* lang = line.Value(kLanguageOption.name); lang && *lang != "zh" && *lang != "en") {
    error = {base::TextId::ArgBadValue, "--lang " + *lang};
    return false;
  }
  const std::vector<std::string>& positional = line.Positional();
  if (positional.empty() || (files == FileArgs::One && positional.size() > 1)) {
    error = positional.empty() ? base::ArgError{base::TextId::ArgMissingFile, ""}
                               : base::ArgError{base::TextId::ArgUnexpected, positional[1]};
    return false;
  }
  paths = files == FileArgs::One ? positional : record::ExpandRecordPaths(positional);
  return true;
}

}  // namespace

std::optional<FileCommand> ParseFileCommand(const std::vector<std::string>& args,
                                            std::span<const base::OptionSpec> options, FileArgs files) {
  FileCommand command;
  command.language = base::LanguageOption(args);
  base::ArgError error;
  if (Understand(args, options, files, command.line, command.paths, error)) return command;
  Fail(error, command.language);
  return std::nullopt;
}

bool HasRecordFiles(const FileCommand& command) {
  if (!command.paths.empty()) return true;
  Fail(Message(base::TextId::SetNoRecordFiles, command.language, command.line.Positional().front().c_str()));
  return false;
}

int Fail(const std::string& message, int status) { return base::ReportError(kProgram, message, status); }

int Fail(const base::ArgError& error, int language) { return Fail(error.Message(language), kUsageStatus); }

int WriteOutput(const std::string& out, int language, const std::function<int(const std::string& path)>& write) {
  if (out != base::kStdoutName) return write(out);
  const base::StdoutThroughFile through;
  const int status = write(through.path());
  if (status == 0 && !through.CopyTo(stdout)) return Fail(Message(base::TextId::WriteFailed, language, "stdout"));
  return status;
}

std::string OpenFailedMessage(const std::string& path, int language) {
  return base::Format("%s: %s", base::Text(base::TextId::FileOpenFailed, language), path.c_str());
}

}  // namespace tessaly::cli
