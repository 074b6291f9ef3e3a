// tessaly-cli search FILE --from "YYYY-MM-DD HH:MM:SS" --to "YYYY-MM-DD HH:MM:SS"
// [paging options] [--lang zh|en]: the sector range the search by time would
// load, "first<TAB>last<TAB>count", or "none" when it would load nothing.
#include <cstdio>

#include "commands.h"
#include "record/search.h"
#include "recorder/search_by_time.h"
#include "viewer_session.h"

namespace tessaly::cli {

std::span<const base::OptionSpec> SearchOptions() {
  static const std::vector<base::OptionSpec> options =
      ViewerOptions({{.name = "--from", .value = "'YYYY-MM-DD HH:MM:SS'", .help = base::TextId::HelpOptSearchFrom},
                     {.name = "--to", .value = "'YYYY-MM-DD HH:MM:SS'", .help = base::TextId::HelpOptSearchTo}},
                    false);
  return options;
}

int RunSearch(const std::vector<std::string>& args) {
  ViewerSession session;
  if (!session.Parse(args, SearchOptions())) return kUsageStatus;
  const base::CommandLine& line = session.line();
  std::optional<record::CalendarFields> from, to;
  if (base::ArgError error; !line.Require("--from", error) || !line.Require("--to", error))
    return Fail(error, session.language());
  if (const int status = ParseMoment(line, "--from", session.language(), from)) return status;
  if (const int status = ParseMoment(line, "--to", session.language(), to)) return status;
  if (const int status = session.Open()) return status;
  if (!recorder::SearchMomentsReasonable(session.data(), *from, *to)) return kFailureStatus;

  const recorder::SearchOutcome found = recorder::SearchByTime(session.data(), *from, *to, false, false);
  const std::string text =
      found.action == recorder::SearchAction::Load
          ? base::Format("%u\t%u\t%u\n", found.entry.firstSector, found.entry.firstSector + found.entry.sectorCount - 1,
                         found.entry.sectorCount)
          : std::string("none\n");
  std::fputs(text.c_str(), stdout);
  return 0;
}

}  // namespace tessaly::cli
