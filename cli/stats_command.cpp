// tessaly-cli stats FILE (--page K | --first S --count N) [--from T] [--to T]
// [paging options] [--lang zh|en] (--peak | --over [--lower L] [--upper U]
// [--below] [--above] [--channel 0..18]): the range statistics of the loaded
// samples, printed as the dialog copies them. --from and --to default to the
// first and last sample, as the dialog opens.
#include <cstdio>

#include "analysis/statistics.h"
#include "commands.h"
#include "viewer_session.h"

namespace tessaly::cli {
namespace {

constexpr const char* kOverOnly[] = {"--lower", "--upper", "--below", "--above", "--channel"};

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

}  // namespace

std::span<const base::OptionSpec> StatsOptions() {
  using base::TextId;
  static const std::vector<base::OptionSpec> options = ViewerOptions(
      {{.name = "--from", .value = "'YYYY-MM-DD HH:MM:SS'", .help = TextId::HelpOptStatsFrom},
       {.name = "--to", .value = "'YYYY-MM-DD HH:MM:SS'", .help = TextId::HelpOptStatsTo},
       {.name = "--peak", .takesValue = false, .help = TextId::HelpOptPeak},
       {.name = "--over", .takesValue = false, .help = TextId::HelpOptOver},
       {.name = "--lower", .value = "L", .help = TextId::HelpOptLower, .byDefault = "0"},
       {.name = "--upper", .value = "U", .help = TextId::HelpOptUpper, .byDefault = "0"},
       {.name = "--below", .takesValue = false, .help = TextId::HelpOptBelow},
       {.name = "--above", .takesValue = false, .help = TextId::HelpOptAbove},
       {.name = "--channel", .value = "C", .help = TextId::HelpOptChannel, .byDefault = "0"}},
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
  if (peak == line.Has("--over")) {
    error = peak ? base::ArgError{base::TextId::ArgUnexpected, "--over"}
                 : base::ArgError{base::TextId::ArgMissingOption, "--peak"};
    return Fail(error, language);
  }
  if (peak)
    for (const char* name : kOverOnly)
      if (line.Has(name)) return Fail({base::TextId::ArgUnexpected, name}, language);
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
    case analysis::StatisticsStatus::Ok:
      break;
    case analysis::StatisticsStatus::TimeUnreasonable:
      return Fail(base::Text(base::TextId::StatsTimeUnreasonable, language));
    case analysis::StatisticsStatus::RangeReversed:
      return Fail(base::Text(base::TextId::StatsRangeReversed, language));
  }
  const std::string text = analysis::CopyText(result.table);
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
    return Fail(Message(base::TextId::WriteFailed, language, "stdout"));
  return 0;
}

}  // namespace tessaly::cli
