// `tessaly-cli dt2csv FILE.DT [-o OUT] [--lang zh|en]`: the real-time CSV of
// a data file, all 18 channels shown under the default channel names.
#include "args.h"
#include "commands.h"
#include "output/realtime_export.h"
#include "realtime/data_file.h"
#include "realtime/record_store.h"

namespace tessaly::cli {
namespace {

constexpr base::OptionSpec kOptions[] = {
    {.name = "-o", .value = "OUT", .help = base::TextId::HelpOptDt2CsvOutput},
    kLanguageOption,
};

// FILE.DT becomes FILE.csv; other names get ".csv" added.
std::string CsvPath(const std::string& path) {
  const std::string stem = realtime::HasDataExtension(path) ? path.substr(0, path.size() - 3) : path;
  return stem + ".csv";
}

}  // namespace

std::span<const base::OptionSpec> Dt2CsvOptions() { return kOptions; }

int RunDt2Csv(const std::vector<std::string>& args) {
  const std::optional<FileCommand> command = ParseFileCommand(args, kOptions, FileArgs::One);
  if (!command) return kUsageStatus;
  const base::CommandLine& line = command->line;
  const std::string& path = command->paths.front();
  const int language = command->language;
  const auto records = realtime::ReadDataFile(path);
  if (!records) return Fail(base::Format("%s: %s", base::Text(base::TextId::FileOpenFailed, language), path.c_str()));

  output::RealtimeColumns columns;
  for (int i = 0; i < realtime::kRecordChannels; ++i)
    columns.names[i] = Message(base::TextId::DefaultChannelName, language, i + 1);
  columns.active = [](int) { return true; };
  const std::string out = line.Value("-o") ? *line.Value("-o") : CsvPath(path);
  const realtime::RecordStore store(std::move(*records));
  return WriteOutput(out, language, [&](const std::string& target) {
    switch (output::ExportRealtimeCsv(target, store, columns)) {
      case output::ExportResult::OpenFailed:
        return Fail(base::Format("%s: %s", base::Text(base::TextId::RealtimeCsvOpenFailed, language), out.c_str()));
      case output::ExportResult::WriteFailed: return Fail(Message(base::TextId::WriteFailed, language, out.c_str()));
      default: return 0;
    }
  });
}

}  // namespace tessaly::cli
