#include "usage_error.h"

#include "instrument_command.h"
#include "record_command.h"

namespace tessaly::sim {

using base::TextId;

std::span<const base::Subcommand> Commands() {
  static constexpr base::Subcommand kCommands[] = {
      {"record", RunRecordCommand, RecordCommandOptions, TextId::HelpSimRecord, "-o FILE [options]",
       "-o demo.D01 --demo --fault 10-12=bad-crc"},
      {"instrument", RunInstrumentCommand, InstrumentCommandOptions, TextId::HelpSimInstrument, "[options]",
       "--address 3 --pace --drop 0.1"},
  };
  return kCommands;
}

void PrintUsage() {
  for (const base::Subcommand& command : Commands())
    base::PrintTo(stderr, base::CommandHelp(kProgram, command, base::kEnglish));
}

int ReportUsageError(const base::ArgError& error, std::string_view command) {
  base::ReportError(kProgram, error.Message(base::kEnglish), base::kUsageStatus);
  for (const base::Subcommand& known : Commands())
    if (known.name == command) base::PrintTo(stderr, base::CommandHelp(kProgram, known, base::kEnglish));
  return base::kUsageStatus;
}

}  // namespace tessaly::sim
