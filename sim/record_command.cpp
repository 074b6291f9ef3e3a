#include "record_command.h"

#include <array>
#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>

#include "base/command_line.h"
#include "base/format.h"
#include "base/stdout_file.h"
#include "demo_record.h"
#include "record/record_time.h"
#include "record/sample.h"
#include "record_writer.h"
#include "settings/channel_info.h"
#include "usage_error.h"
#include "waveform.h"

namespace tessaly::sim {
namespace {

using base::ArgError;
using base::CommandLine;
using base::TextId;

constexpr uint32_t kMaxSectors = (4ull << 30) / 512 - 256;  // a 4 GiB file

constexpr base::OptionSpec kOptions[] = {
    {.name = "-o", .value = "FILE", .help = TextId::HelpSimOutput},
    {.name = "--demo", .takesValue = false, .help = TextId::HelpSimDemo},
    {.name = "--no-header", .takesValue = false, .help = TextId::HelpSimNoHeader},
    {.name = "--header-sectors", .value = "B", .help = TextId::HelpSimHeaderSectors, .byDefault = "2"},
    {.name = "--header-fault", .value = "KIND", .help = TextId::HelpSimHeaderFault},
    {.name = "--device", .value = "TEXT", .help = TextId::HelpSimDevice, .byDefault = "Tessaly-R18"},
    {.name = "--name", .value = "I=TEXT", .help = TextId::HelpSimName},
    {.name = "--unit", .value = "I=TEXT", .help = TextId::HelpSimUnit},
    {.name = "--channels", .value = "C", .help = TextId::HelpSimChannels, .byDefault = "4"},
    {.name = "--samples", .value = "N", .help = TextId::HelpSimSamples, .byDefault = "6"},
    {.name = "--interval", .value = "T", .help = TextId::HelpSimInterval, .byDefault = "10"},
    {.name = "--decimals", .value = "[I=]D", .help = TextId::HelpSimDecimals, .byDefault = "0"},
    {.name = "--start",
     .value = "'YYYY-MM-DD HH:MM:SS'",
     .help = TextId::HelpSimStart,
     .byDefault = "2015-01-05 08:00:00"},
    {.name = "--sectors", .value = "COUNT", .help = TextId::HelpSimSectors, .byDefault = "100"},
    {.name = "--split", .value = "N", .help = TextId::HelpSimSplit, .byDefault = "1"},
    {.name = "--wave", .value = "[I=]SHAPE", .help = TextId::HelpSimWave},
    {.name = "--fault", .value = "FIRST[-LAST]=KIND", .help = TextId::HelpSimFault},
    {.name = "--marker", .value = "S:N[:I]=VALUE", .help = TextId::HelpSimMarker},
};

constexpr std::pair<std::string_view, SectorFault> kSectorFaults[] = {
    {"bad-crc", SectorFault::BadCrc},       {"not-calendar", SectorFault::NotCalendar},
    {"month-zero", SectorFault::MonthZero}, {"year-150", SectorFault::YearTooLarge},
    {"overlap", SectorFault::Overlap},
};

constexpr std::pair<std::string_view, HeaderFault> kHeaderFaults[] = {
    {"first-crc", HeaderFault::FirstCrc},
    {"block-crc", HeaderFault::BlockCrc},
};

template <typename T, size_t N>
std::optional<T> Lookup(const std::pair<std::string_view, T> (&table)[N], std::string_view name) {
  for (const auto& [key, value] : table)
    if (key == name) return value;
  return std::nullopt;
}

bool Fail(ArgError& error, std::string_view option, std::string_view value) {
  error = {TextId::ArgBadValue, std::string(option) + " " + std::string(value)};
  return false;
}

// "I=REST" with I a channel number 1 to 18: the 0-based channel and REST.
std::optional<std::pair<int, std::string_view>> ChannelPrefixed(std::string_view text) {
  const size_t equals = text.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  const std::optional<int64_t> channel = base::ParseInteger(text.substr(0, equals), 1, record::kChannelCount);
  if (!channel) return std::nullopt;
  return std::pair{static_cast<int>(*channel) - 1, text.substr(equals + 1)};
}

// "[I=]REST": channel I only, or all channels (-1) without a prefix.
std::optional<std::pair<int, std::string_view>> ChannelOrAll(std::string_view text) {
  if (text.find('=') == std::string_view::npos) return std::pair{-1, text};
  return ChannelPrefixed(text);
}

bool FitsField(std::string_view utf8) { return settings::GbkLength(utf8) < settings::kTextFieldSize; }

bool ParseTexts(const CommandLine& line, std::string_view option, std::array<std::string, 18>& texts, ArgError& error) {
  for (const std::string& value : line.Values(option)) {
    const auto prefixed = ChannelPrefixed(value);
    if (!prefixed || !FitsField(prefixed->second)) return Fail(error, option, value);
    texts[prefixed->first] = prefixed->second;
  }
  return true;
}

bool ParseStart(std::string_view text, RecordSpec& recordSpec) {
  const std::optional<record::CalendarFields> f = record::ParseCalendarText(text);
  if (!f || f->year < 2000 || f->year > 2255) return false;
  recordSpec.year = f->year, recordSpec.month = f->month, recordSpec.day = f->day, recordSpec.hour = f->hour,
  recordSpec.minute = f->minute, recordSpec.second = f->second;
  return true;
}

// The year byte holds 2000 to 2255: the last sector must start before 2256.
bool FitsTheYearByte(const RecordSpec& recordSpec) {
  const record::RecordTime start = record::RecordTime::FromCalendar(
      recordSpec.year, recordSpec.month, recordSpec.day, recordSpec.hour, recordSpec.minute, recordSpec.second);
  const record::RecordTime end = record::RecordTime::FromCalendar(2256, 1, 1, 0, 0, 0);
  const auto span =
      static_cast<__int128>(recordSpec.sectorCount) * recordSpec.samplesPerSector * recordSpec.interval * 1'000'000;
  return span < end.ticks - start.ticks;
}

std::optional<FaultRange> ParseFault(std::string_view text) {
  const size_t equals = text.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  const std::optional<SectorFault> fault = Lookup(kSectorFaults, text.substr(equals + 1));
  const std::string_view range = text.substr(0, equals);
  const size_t dash = range.find('-');
  const std::optional<int64_t> first = base::ParseInteger(range.substr(0, dash), 0, UINT32_MAX);
  const std::optional<int64_t> last =
      dash == std::string_view::npos ? first : base::ParseInteger(range.substr(dash + 1), 0, UINT32_MAX);
  if (!fault || !first || !last || *last < *first) return std::nullopt;
  return FaultRange{static_cast<uint32_t>(*first), static_cast<uint32_t>(*last), *fault};
}

// "S:N[:I]=VALUE", VALUE being high (45000.0), low (-19999.0) or a number.
std::optional<ValueOverride> ParseMarker(std::string_view text) {
  const size_t equals = text.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  const std::string_view where = text.substr(0, equals);
  const std::string_view what = text.substr(equals + 1);
  std::optional<double> value = what == "high"  ? std::optional<double>(record::kMarkerHigh)
                                : what == "low" ? std::optional<double>(record::kMarkerLow)
                                                : base::ParseNumber(what);
  const size_t colon1 = where.find(':');
  if (!value || colon1 == std::string_view::npos) return std::nullopt;
  const size_t colon2 = where.find(':', colon1 + 1);
  const std::optional<int64_t> sector = base::ParseInteger(where.substr(0, colon1), 0, UINT32_MAX);
  const std::optional<int64_t> sample = base::ParseInteger(where.substr(colon1 + 1, colon2 - colon1 - 1), 0, 254);
  const std::optional<int64_t> channel = colon2 == std::string_view::npos
                                             ? std::optional<int64_t>(0)
                                             : base::ParseInteger(where.substr(colon2 + 1), 1, record::kChannelCount);
  if (!sector || !sample || !channel) return std::nullopt;
  return ValueOverride{static_cast<uint32_t>(*sector), static_cast<int>(*sample), static_cast<int>(*channel) - 1,
                       static_cast<float>(*value)};
}

bool BuildSpec(const CommandLine& line, RecordSpec& recordSpec, ArgError& error) {
  if (line.Has("--demo")) recordSpec = DemoRecordSpec();
  if (line.Has("--no-header")) recordSpec.header = false;
  if (!line.Integer("--header-sectors", 0, 255, recordSpec.headerSectors, error) ||
      !line.Integer("--channels", 0, 255, recordSpec.channels, error) ||
      !line.Integer("--samples", 0, 255, recordSpec.samplesPerSector, error) ||
      !line.Integer<uint16_t>("--interval", 0, UINT16_MAX, recordSpec.interval, error) ||
      !line.Integer<uint32_t>("--sectors", 0, kMaxSectors, recordSpec.sectorCount, error))
    return false;
  if (const std::string* kind = line.Value("--header-fault")) {
    const std::optional<HeaderFault> fault = Lookup(kHeaderFaults, *kind);
    if (!fault) return Fail(error, "--header-fault", *kind);
    recordSpec.headerFault = *fault;
  }
  if (const std::string* device = line.Value("--device")) {
    if (!FitsField(*device)) return Fail(error, "--device", *device);
    recordSpec.deviceName = *device;
  }
  if (!ParseTexts(line, "--name", recordSpec.names, error) || !ParseTexts(line, "--unit", recordSpec.units, error))
    return false;
  if (const std::string* start = line.Value("--start"); start && !ParseStart(*start, recordSpec))
    return Fail(error, "--start", *start);
  if (!FitsTheYearByte(recordSpec)) return Fail(error, "--sectors", std::to_string(recordSpec.sectorCount));

  for (const std::string& value : line.Values("--decimals")) {
    const auto target = ChannelOrAll(value);
    const std::optional<int64_t> decimals = target ? base::ParseInteger(target->second, 0, 15) : std::nullopt;
    if (!decimals) return Fail(error, "--decimals", value);
    for (int c = 0; c < record::kChannelCount; ++c)
      if (target->first < 0 || target->first == c) recordSpec.decimals[c] = static_cast<int>(*decimals);
  }

  std::array<std::optional<Waveform>, record::kChannelCount> waves;
  for (const std::string& value : line.Values("--wave")) {
    const auto target = ChannelOrAll(value);
    const std::optional<Waveform> wave = target ? ParseWaveform(target->second) : std::nullopt;
    if (!wave) return Fail(error, "--wave", value);
    for (int c = 0; c < record::kChannelCount; ++c)
      if (target->first < 0 || target->first == c) waves[c] = wave;
  }
  if (!line.Values("--wave").empty()) {
    const std::function<float(int, uint64_t)> base = recordSpec.waveform ? recordSpec.waveform : DemoWave;
    recordSpec.waveform = [base, waves](int channel, uint64_t sample) {
      return channel < record::kChannelCount && waves[channel] ? waves[channel]->At(sample) : base(channel, sample);
    };
  }

  for (const std::string& value : line.Values("--fault")) {
    const std::optional<FaultRange> fault = ParseFault(value);
    if (!fault) return Fail(error, "--fault", value);
    recordSpec.faults.push_back(*fault);
  }
  for (const std::string& value : line.Values("--marker")) {
    const std::optional<ValueOverride> marker = ParseMarker(value);
    if (!marker) return Fail(error, "--marker", value);
    recordSpec.overrides.push_back(*marker);
  }
  return true;
}

int UsageError(const ArgError& error) { return ReportUsageError(error, "record"); }

int WriteFailed(const std::string& path) {
  return base::ReportError(kProgram, base::FormatText(base::Text(TextId::WriteFailed, base::kEnglish), path.c_str()),
                           1);
}

// The recording as `parts` consecutive files, the first ones a sector longer
// when the count does not divide evenly.
int WriteSplit(const std::string& path, const RecordSpec& recordSpec, uint32_t parts) {
  const std::vector<std::string> names = ConsecutiveRecordNames(path, parts);
  if (names.empty() || parts > recordSpec.sectorCount)
    return UsageError({TextId::ArgBadValue, "--split " + std::to_string(parts)});
  uint32_t first = 0;
  for (uint32_t k = 0; k < parts; ++k) {
    const uint32_t count = recordSpec.sectorCount / parts + (k < recordSpec.sectorCount % parts ? 1 : 0);
    if (!WriteRecordPart(names[k], recordSpec, first, count)) return WriteFailed(names[k]);
    first += count;
  }
  return 0;
}

}  // namespace

std::span<const base::OptionSpec> RecordCommandOptions() { return kOptions; }

int RunRecordCommand(const std::vector<std::string>& args) {
  CommandLine line;
  ArgError error;
  if (!line.Parse(args, kOptions, error) || !line.Require("-o", error)) return UsageError(error);
  if (!line.Positional().empty()) return UsageError({TextId::ArgUnexpected, line.Positional().front()});
  RecordSpec recordSpec;
  if (!BuildSpec(line, recordSpec, error)) return UsageError(error);
  const std::string& path = *line.Value("-o");
  uint32_t parts = 1;
  if (!line.Integer<uint32_t>("--split", 1, 99, parts, error)) return UsageError(error);
  if (parts > 1) return WriteSplit(path, recordSpec, parts);
  const base::StdoutThroughFile through;
  const bool toStdout = path == base::kStdoutName;
  if (!WriteRecordFile(toStdout ? through.path() : path, recordSpec) || (toStdout && !through.CopyTo(stdout)))
    return WriteFailed(path);
  return 0;
}

}  // namespace tessaly::sim
