#include "args.h"

#include <cstdio>

#include "base/stdout_file.h"
#include "record/record_header.h"

namespace tessaly::cli {

namespace {

// Sets `error` to the first thing wrong with the command line, if any.
bool Understand(const std::vector<std::string>& args, std::span<const base::OptionSpec> options,
                base::CommandLine& line, std::string& path, base::ArgError& error) {
  if (!line.Parse(args, options, error)) return false;
  if (const std::string* lang = line.Value(kLanguageOption.name); lang && *lang != "zh" && *lang != "en") {
    error = {base::TextId::ArgBadValue, "--lang " + *lang};
    return false;
  }
  const std::vector<std::string>& positional = line.Positional();
  if (positional.size() != 1) {
    error = positional.empty() ? base::ArgError{base::TextId::ArgMissingFile, ""}
                               : base::ArgError{base::TextId::ArgUnexpected, positional[1]};
    return false;
  }
  path = positional.front();
  return true;
}

}  // namespace

std::optional<FileCommand> ParseFileCommand(const std::vector<std::string>& args,
                                            std::span<const base::OptionSpec> options) {
  FileCommand command;
  command.language = base::LanguageOption(args);
  base::ArgError error;
  if (Understand(args, options, command.line, command.path, error)) return command;
  Fail(error, command.language);
  return std::nullopt;
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

bool OpenRecord(const std::string& path, settings::CRecorderData& data) {
  if (!data.recordFile.Open(path)) {
    Fail(OpenFailedMessage(path, data.language));
    return false;
  }
  record::ReadRecordHeader(data.recordFile, data);
  data.dataSectors = data.recordFile.SectorCount() - data.headerSectors;
  return true;
}

}  // namespace tessaly::cli
