// tessaly-cli info FILE --json [--lang zh|en]: what opening the file finds.
#include <cstdio>
#include <optional>
#include <string>

#include "args.h"
#include "commands.h"
#include "json.h"
#include "record/sector.h"

namespace tessaly::cli {
namespace {

constexpr base::OptionSpec kOptions[] = {
    {.name = "--json", .takesValue = false, .help = base::TextId::HelpOptJson},
    kLanguageOption,
};

std::string Nullable(const std::optional<uint32_t>& value) {
  return value ? std::to_string(*value) : std::string("null");
}

}  // namespace

std::span<const base::OptionSpec> InfoOptions() { return kOptions; }

int RunInfo(const std::vector<std::string>& args) {
  const std::optional<FileCommand> command = ParseFileCommand(args, kOptions);
  if (!command) return kUsageStatus;
  const int language = command->language;
  if (base::ArgError error; !command->line.Require("--json", error)) return Fail(error, language);

  settings::CRecorderData data;
  data.language = language;
  if (!OpenRecord(command->path, data)) return kFailureStatus;

  unsigned char sector[record::kSectorSize];
  const std::optional<uint32_t> first = record::FindCalendarValidSector(data.recordFile, data.headerSectors, sector);
  const std::optional<uint32_t> channelCount = first ? std::optional<uint32_t>(sector[9]) : std::nullopt;

  std::string json = "{\n";
  json += "  \"headerSectors\": " + std::to_string(data.headerSectors) + ",\n";
  json += "  \"dataSectors\": " + std::to_string(data.dataSectors) + ",\n";
  json += "  \"deviceName\": " + JsonString(settings::DeviceName(data)) + ",\n";
  json += "  \"channels\": [\n";
  for (int c = 0; c < settings::kChannels; ++c) {
    json += "    {\"name\": " + JsonString(settings::ChannelName(data.channels[c])) +
            ", \"unit\": " + JsonString(settings::ChannelUnit(data.channels[c])) + "}";
    json += c + 1 < settings::kChannels ? ",\n" : "\n";
  }
  json += "  ],\n";
  json += "  \"firstValidSector\": " + Nullable(first) + ",\n";
  json += "  \"channelCount\": " + Nullable(channelCount) + "\n";
  json += "}\n";
  if (std::fwrite(json.data(), 1, json.size(), stdout) != json.size() || std::fflush(stdout) != 0)
    return Fail(Message(base::TextId::WriteFailed, language, "stdout"));
  return 0;
}

}  // namespace tessaly::cli
