// tessaly-cli csv FILE --first S --count N [--interval K] [--lang zh|en] [-o OUT]:
// sectors S to S+N-1 decoded as a page load does, exported as the viewer's CSV.
#include <cstdio>

#include "args.h"
#include "commands.h"
#include "output/csv_export.h"
#include "record/sector_range.h"

namespace tessaly::cli {
namespace {

constexpr base::OptionSpec kOptions[] = {{"--first"}, {"--count"}, {"--interval"}, kLanguageOption, {"-o"}};

// Decodes sectors first to first + count - 1 of the open record file and
// writes their CSV to `out` (stdout when null); the exit status.
int ExportRange(settings::CRecorderData& data, uint32_t first, uint32_t count, uint32_t interval,
                const std::string* out) {
  const int language = data.language;
  const uint32_t sectors = data.recordFile.SectorCount();
  if (uint64_t{first} + count > sectors)
    return Fail(Message(base::TextId::CliRangeBeyondFile, language, static_cast<unsigned long long>(first),
                        static_cast<unsigned long long>(uint64_t{first} + count - 1),
                        static_cast<unsigned long long>(sectors)));

  record::DecodeSectorRange(data.recordFile, first, count, data.samples);
  if (data.samples.empty()) return Fail(Message(base::TextId::CliNoSamples, language));

  if (!out) {
    if (!output::WriteViewerCsv(stdout, data.samples, data.Display(), interval, language))
      return Fail(Message(base::TextId::WriteFailed, language, "stdout"));
    return 0;
  }
  switch (output::WriteViewerCsvFile(*out, data.samples, data.Display(), interval, language)) {
    case output::ExportResult::Written:
    case output::ExportResult::NothingToWrite:
      return 0;
    case output::ExportResult::OpenFailed:
      return Fail(OpenFailedMessage(*out, language));
    case output::ExportResult::WriteFailed:
      break;
  }
  return Fail(Message(base::TextId::WriteFailed, language, out->c_str()));
}

}  // namespace

int RunCsv(const std::vector<std::string>& args) {
  const std::optional<FileCommand> command = ParseFileCommand(args, kOptions);
  if (!command) return kUsageStatus;
  const base::CommandLine& line = command->line;
  uint32_t first = 0;
  uint32_t count = 0;
  uint32_t interval = 1;
  base::ArgError error;
  if (!line.Require("--first", error) || !line.Require("--count", error) ||
      !line.Integer<uint32_t>("--first", 0, UINT32_MAX, first, error) ||
      !line.Integer<uint32_t>("--count", 1, UINT32_MAX, count, error) ||
      !line.Integer<uint32_t>("--interval", 1, INT32_MAX, interval, error))
    return Fail(error, command->language);

  settings::CRecorderData data;
  data.language = command->language;
  if (!OpenRecord(command->path, data)) return kFailureStatus;
  return ExportRange(data, first, count, interval, line.Value("-o"));
}

}  // namespace tessaly::cli
