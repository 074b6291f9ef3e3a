// tessaly-cli stats FILE (--page K | --first S --count N) [--from T] [--to T]
// [paging options] [--lang zh|en] (--peak | --over [--lower L] [--upper U]
// [--below] [--above] [--channel 0..18] | --cursors A B): the range
// statistics of the loaded samples, printed as the dialog copies them, or the
// readout of cursors on samples A and B, as the cursor panel copies it.
// --from and --to default to the first and last sample, as the dialog opens.
#include <cstdio>

#include "analysis/cursor_readout.h"
#include "analysis/statistics.h"
#include "commands.h"
#include "viewer_session.h"

namespace tessaly::cli {
namespace {

constexpr const char* kOverOnly[] = {"--lower", "--upper", "--below", "--above", "--channel"};
constexpr const char* kRangeOnly[] = {"--from", "--to"};
constexpr std::string_view kCursors = "--cursors";

int PrintTable(const analysis::StatisticsTable& table, int language) {
  const std::string text = analysis::CopyText(table);
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
    return Fail(Message(base::TextId::WriteFailed, language, "stdout"));
  return 0;
}

// A chosen instant, or the time of `sample` to the second.
record::RecordTime Instant(const std::optional<record::CalendarFields>& chosen, const record::Sample& sample) {
  const record::CalendarFields f = chosen ? *chosen : sample.time.Fields();
  return record::RecordTime::FromCalendar(f.year, f.month, f.day, f.hour, f.minute, f.second);
}

bool Limit(const base::CommandLine& line, std::string_view name, float& out, base::ArgError& error) {
  const std::string* text = line.Value(name);
  if (!text) return true;
  const std::optional<double> value = base::ParseNumber(*text);
  if (!value) {
    error = {base::TextId::ArgBadValue, std::string(name) + " " + *text};
    return false;
  }
  out = static_cast<float>(*value);
  return true;
}

// The two sample indexes of --cursors.
bool CursorIndexes(const base::CommandLine& line, size_t (&out)[2], base::ArgError& error) {
  const std::vector<std::string> values = line.Values(kCursors);
  for (size_t i = 0; i < 2; ++i) {
    const std::string& text = values[values.size() - 2 + i];
    const std::optional<int64_t> index = base::ParseInteger(text, 0, INT64_MAX);
    if (!index) {
      error = {base::TextId::ArgBadValue, std::string(kCursors) + " " + text};
      return false;
    }
    out[i] = static_cast<size_t>(*index);
  }
  return true;
}

// The cursor readout of samples A and B of the loaded range.
int PrintCursors(ViewerSession& session, const size_t (&indexes)[2]) {
  const recorder::CRecorderData& data = session.data();
  const int language = session.language();
  for (size_t index : indexes)
    if (index >= data.samples.size())
      return Fail(Message(base::TextId::CliCursorOutside, language, static_cast<unsigned long long>(index),
                          static_cast<unsigned long long>(data.samples.size())));
  const analysis::CursorReadout readout = analysis::ReadCursors(data.samples, data, indexes[0], indexes[1]);
  return PrintTable(analysis::CursorTable(readout, data, language), language);
}

}  // namespace

std::span<const base::OptionSpec> StatsOptions() {
  using base::TextId;
  static const std::vector<base::OptionSpec> options =
      ViewerOptions({{.name = "--from", .value = "'YYYY-MM-DD HH:MM:SS'", .help = TextId::HelpOptStatsFrom},
                     {.name = "--to", .value = "'YYYY-MM-DD HH:MM:SS'", .help = TextId::HelpOptStatsTo},
                     {.name = "--peak", .takesValue = false, .help = TextId::HelpOptPeak},
                     {.name = "--over", .takesValue = false, .help = TextId::HelpOptOver},
                     {.name = "--lower", .value = "L", .help = TextId::HelpOptLower, .byDefault = "0"},
                     {.name = "--upper", .value = "U", .help = TextId::HelpOptUpper, .byDefault = "0"},
                     {.name = "--below", .takesValue = false, .help = TextId::HelpOptBelow},
                     {.name = "--above", .takesValue = false, .help = TextId::HelpOptAbove},
                     {.name = "--channel", .value = "C", .help = TextId::HelpOptChannel, .byDefault = "0"},
                     {.name = kCursors, .value = "A B", .help = TextId::HelpOptCursors, .valueCount = 2}},
                    true);
  return options;
}

int RunStats(const std::vector<std::string>& args) {
  ViewerSession session;
  if (!session.Parse(args, StatsOptions())) return kUsageStatus;
  const base::CommandLine& line = session.line();
  const int language = session.language();
  base::ArgError error;
  const bool peak = line.Has("--peak");
  const bool cursors = line.Has(kCursors);
  if (!peak && !cursors && !line.Has("--over")) return Fail({base::TextId::ArgMissingOption, "--peak"}, language);
  if (peak + cursors + line.Has("--over") > 1)
    return Fail({base::TextId::ArgUnexpected, cursors ? std::string(kCursors) : "--over"}, language);
  if (peak || cursors)
    for (const char* name : kOverOnly)
      if (line.Has(name)) return Fail({base::TextId::ArgUnexpected, name}, language);
  if (cursors) {
    for (const char* name : kRangeOnly)
      if (line.Has(name)) return Fail({base::TextId::ArgUnexpected, name}, language);
    size_t indexes[2] = {0, 0};
    if (!CursorIndexes(line, indexes, error)) return Fail(error, language);
    if (const int status = session.Open()) return status;
    if (const int status = session.LoadRange()) return status;
    return PrintCursors(session, indexes);
  }
  analysis::OverLimitOptions over;
  over.below = line.Has("--below");
  over.above = line.Has("--above");
  if (!Limit(line, "--lower", over.lower, error) || !Limit(line, "--upper", over.upper, error) ||
      !line.Integer<int>("--channel", 0, record::kChannelCount, over.channel, error))
    return Fail(error, language);
  std::optional<record::CalendarFields> from, to;
  if (const int status = ParseMoment(line, "--from", language, from)) return status;
  if (const int status = ParseMoment(line, "--to", language, to)) return status;
  if (const int status = session.Open()) return status;
  if (const int status = session.LoadRange()) return status;

  const record::SampleBuffer& samples = session.data().samples;
  const record::RecordTime start = Instant(from, samples.front());
  const record::RecordTime end = Instant(to, samples.back());
  const analysis::StatisticsResult result = peak ? analysis::PeakValleyAverage(samples, start, end, language)
                                                 : analysis::OverLimit(samples, start, end, over, language);
  switch (result.status) {
    case analysis::StatisticsStatus::Ok: break;
    case analysis::StatisticsStatus::TimeUnreasonable:
      return Fail(base::Text(base::TextId::StatsTimeUnreasonable, language));
    case analysis::StatisticsStatus::RangeReversed: return Fail(base::Text(base::TextId::StatsRangeReversed, language));
  }
  return PrintTable(result.table, language);
}

}  // namespace tessaly::cli
