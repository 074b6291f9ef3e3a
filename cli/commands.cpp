#include "commands.h"

namespace tessaly::cli {

using base::TextId;

std::span<const base::Subcommand> Commands() {
  static constexpr base::Subcommand kCommands[] = {
      {"info", RunInfo, InfoOptions, TextId::HelpInfo, "FILE... --json [options]", "shift.D01 shift.D02 --json"},
      {"pages", RunPages, PagesOptions, TextId::HelpPages, "FILE... [options]", "records/ --sectors-per-page 500"},
      {"csv", RunCsv, CsvOptions, TextId::HelpCsv, "FILE... (--page K | --first S --count N) [options]",
       "demo.D01 --page 1 -o page1.csv"},
      {"xlsx", RunXlsx, XlsxOptions, TextId::HelpXlsx, "FILE... (--page K | --first S --count N) -o OUT [options]",
       "demo.D01 --first 0 --count 100 --interval 10 -o part.xlsx"},
      {"search", RunSearch, SearchOptions, TextId::HelpSearch, "FILE... --from T --to T [options]",
       "demo.D01 --from '2015-01-05 08:00:00' --to '2015-01-05 09:00:00'"},
      {"stats", RunStats, StatsOptions, TextId::HelpStats,
       "FILE... (--page K | --first S --count N) (--peak | --over [--lower L] [--upper U] [--below] [--above]) "
       "[options]",
       "demo.D01 --page 1 --over --upper 80 --above --channel 2"},
      {"print", RunPrint, PrintOptions, TextId::HelpPrint,
       "FILE... (--page K | --first S --count N) --document list|graph [--part-first S --part-end E "
       "--part-interval P] --json [options]",
       "demo.D01 --page 1 --document list --json"},
      {"acquire", RunAcquire, AcquireOptions, TextId::HelpAcquire, "(--device PATH | --com N) [options]",
       "--device /dev/ttyUSB0 --baud 9600 --interval 0.5 --count 100 --folder data"},
      {"dt2csv", RunDt2Csv, Dt2CsvOptions, TextId::HelpDt2Csv, "FILE.DT [options]", "data/Device001/x.DT -o -"},
  };
  return kCommands;
}

}  // namespace tessaly::cli
