#include "args.h"

#include <cstdio>

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

bool ParseFileCommand(const std::vector<std::string>& args, std::span<const base::OptionSpec> options,
                      base::CommandLine& line, std::string& path, int& language) {
  language = base::LanguageOption(args);
  base::ArgError error;
  if (Understand(args, options, line, path, error)) return true;
  Fail(error, language);
  return false;
}

int Fail(const std::string& message, int status) { return base::ReportError(kProgram, message, status); }

int Fail(const base::ArgError& error, int language) { return Fail(error.Message(language), kUsageStatus); }

bool OpenRecord(const std::string& path, settings::CRecorderData& data) {
  if (!data.recordFile.Open(path)) {
    Fail(base::Format("%s: %s", base::Text(base::TextId::FileOpenFailed, data.language), path.c_str()));
    return false;
  }
  record::ReadRecordHeader(data.recordFile, data);
  data.dataSectors = data.recordFile.SectorCount() - data.headerSectors;
  return true;
}

}  // namespace tessaly::cli
