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

}  // namespace

int RunCsv(const std::vector<std::string>& args) {
  base::CommandLine line;
  std::string path;
  int language = base::kEnglish;
  if (!ParseFileCommand(args, kOptions, line, path, language)) return kUsageStatus;
  uint32_t first = 0;
  uint32_t count = 0;
  uint32_t interval = 1;
  base::ArgError error;
  if (!line.Require("--first", error) || !line.Require("--count", error) ||
      !line.Integer<uint32_t>("--first", 0, UINT32_MAX, first, error) ||
      !line.Integer<uint32_t>("--count", 1, UINT32_MAX, count, error) ||
      !line.Integer<uint32_t>("--interval", 1, INT32_MAX, interval, error))
    return Fail(error, language);
  const std::string* out = line.Value("-o");

  settings::CRecorderData data;
  data.language = language;
  if (!OpenRecord(path, data)) return kFailureStatus;
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
      return Fail(base::Format("%s: %s", base::Text(base::TextId::FileOpenFailed, language), out->c_str()));
    case output::ExportResult::WriteFailed:
      break;
  }
  return Fail(Message(base::TextId::WriteFailed, language, out->c_str()));
}

}  // namespace tessaly::cli
