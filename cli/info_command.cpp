// tessaly-cli info FILE... --json [--lang zh|en]: what opening the record
// file, or the set of them, finds.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include "args.h"
#include "commands.h"
#include "json.h"
#include "record/record_header.h"
#include "record/record_set.h"
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

std::string TimeJson(const record::RecordTime& time) {
  const record::CalendarFields f = time.Fields();
  return JsonString(
      base::Format("%4.4d-%2.2d-%2.2d %2.2d:%2.2d:%2.2d", f.year, f.month, f.day, f.hour, f.minute, f.second));
}

// The set's files in set order, then the refused ones with the reason.
std::string FilesJson(const record::RecordSet& set, const std::vector<record::RefusedFile>& refused, int language) {
  std::string json = "  \"files\": [";
  for (size_t i = 0; i < set.FileCount(); ++i) {
    const record::SetMember& m = set.Member(i);
    json += i == 0 ? "\n" : ",\n";
    json += "    {\"path\": " + JsonString(m.path) + ", \"headerSectors\": " + std::to_string(m.headerSectors) +
            ", \"dataSectors\": " + std::to_string(m.dataSectors) +
            ", \"firstSector\": " + std::to_string(m.firstSector) + ", \"firstTime\": " + TimeJson(m.firstTime) +
            ", \"lastTime\": " + TimeJson(m.lastTime) + "}";
  }
  json += set.FileCount() ? "\n  ],\n" : "],\n";
  json += "  \"refused\": [";
  for (size_t i = 0; i < refused.size(); ++i) {
    json += i == 0 ? "\n" : ",\n";
    json += "    {\"path\": " + JsonString(refused[i].path) +
            ", \"reason\": " + JsonString(record::RefusalText(refused[i], language)) + "}";
  }
  json += refused.empty() ? "],\n" : "\n  ],\n";
  return json;
}

}  // namespace

std::span<const base::OptionSpec> InfoOptions() { return kOptions; }

int RunInfo(const std::vector<std::string>& args) {
  const std::optional<FileCommand> command = ParseFileCommand(args, kOptions, FileArgs::RecordSet);
  if (!command) return kUsageStatus;
  const int language = command->language;
  if (base::ArgError error; !command->line.Require("--json", error)) return Fail(error, language);
  if (!HasRecordFiles(*command)) return kFailureStatus;

  settings::DisplaySettings header{};
  record::RecordSet set;
  const std::vector<record::RefusedFile> refused = set.Open(command->paths, language, header);
  // A lone file without a valid sector is still described, from its header.
  record::RecordFile lone;
  const bool describeLone = !set.IsOpen() && command->paths.size() == 1 &&
                            refused.front().reason == record::SetRefusal::NoValidSector &&
                            lone.Open(command->paths.front());
  if (!set.IsOpen() && !describeLone) {
    if (command->paths.size() == 1) return Fail(OpenFailedMessage(command->paths.front(), language));
    for (const record::RefusedFile& file : refused) Fail(record::RefusalText(file, language));
    return kFailureStatus;
  }
  const record::SectorSource& source = describeLone ? static_cast<const record::SectorSource&>(lone) : set;
  const uint32_t headerSectors = describeLone ? record::ReadRecordHeader(lone, header, language) : set.HeaderSectors();
  const uint32_t dataSectors = source.SectorCount() - std::min(source.SectorCount(), headerSectors);

  unsigned char sector[record::kSectorSize];
  const std::optional<uint32_t> first = record::FindCalendarValidSector(source, headerSectors, sector);
  const std::optional<uint32_t> channelCount = first ? std::optional<uint32_t>(sector[9]) : std::nullopt;

  std::string json = "{\n";
  json += "  \"headerSectors\": " + std::to_string(headerSectors) + ",\n";
  json += "  \"dataSectors\": " + std::to_string(dataSectors) + ",\n";
  json += "  \"deviceName\": " + JsonString(settings::DeviceName(header)) + ",\n";
  json += "  \"channels\": [\n";
  for (int c = 0; c < settings::kChannels; ++c) {
    json += "    {\"name\": " + JsonString(settings::ChannelName(header.channels[c])) +
            ", \"unit\": " + JsonString(settings::ChannelUnit(header.channels[c])) + "}";
    json += c + 1 < settings::kChannels ? ",\n" : "\n";
  }
  json += "  ],\n";
  json += FilesJson(set, refused, language);
  json += "  \"firstValidSector\": " + Nullable(first) + ",\n";
  json += "  \"channelCount\": " + Nullable(channelCount) + "\n";
  json += "}\n";
  if (std::fwrite(json.data(), 1, json.size(), stdout) != json.size() || std::fflush(stdout) != 0)
    return Fail(Message(base::TextId::WriteFailed, language, "stdout"));
  return 0;
}

}  // namespace tessaly::cli
