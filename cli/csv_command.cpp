// tessaly-cli csv FILE (--page K | --first S --count N) [--interval K]
// [paging options] [--lang zh|en] [-o OUT]: the sectors of page K (from 1) or
// S to S+N-1 loaded as the viewer loads them, exported as the viewer's CSV.
#include <cstdio>

#include "base/stdout_file.h"
#include "commands.h"
#include "output/csv_export.h"
#include "viewer_session.h"

namespace tessaly::cli {

std::span<const base::OptionSpec> CsvOptions() {
  static const std::vector<base::OptionSpec> options =
      ViewerOptions({{.name = "--interval", .value = "K", .help = base::TextId::HelpOptInterval, .byDefault = "1"},
                     {.name = "-o", .value = "OUT", .help = base::TextId::HelpOptOutput, .byDefault = "-"}},
                    true);
  return options;
}

int RunCsv(const std::vector<std::string>& args) {
  ViewerSession session;
  if (!session.Parse(args, CsvOptions())) return kUsageStatus;
  const int language = session.language();
  uint32_t interval = 1;
  if (base::ArgError error; !session.line().Integer<uint32_t>("--interval", 1, INT32_MAX, interval, error))
    return Fail(error, language);
  const std::string* out = session.line().Value("-o");
  if (out && *out == base::kStdoutName) out = nullptr;
  if (const int status = session.Open()) return status;
  if (const int status = session.LoadRange()) return status;

  const recorder::CRecorderData& data = session.data();
  if (!out) {
    if (!output::WriteViewerCsv(stdout, data.samples, data.Display(), interval, language))
      return Fail(Message(base::TextId::WriteFailed, language, "stdout"));
    return 0;
  }
  return ReportExport(output::WriteViewerCsvFile(*out, data.samples, data.Display(), interval, language), *out,
                      language);
}

}  // namespace tessaly::cli
