// tessaly-cli xlsx FILE (--page K | --first S --count N) [--interval K]
// [paging options] [--lang zh|en] -o OUT: the viewer's workbook export of the
// loaded range; channels the file does not record leave empty columns.
#include "commands.h"
#include "output/workbook_export.h"
#include "viewer_session.h"

namespace tessaly::cli {

std::span<const base::OptionSpec> XlsxOptions() {
  static const std::vector<base::OptionSpec> options =
      ViewerOptions({{.name = "--interval", .value = "K", .help = base::TextId::HelpOptInterval, .byDefault = "1"},
                     {.name = "-o", .value = "OUT", .help = base::TextId::HelpOptWorkbook}},
                    true);
  return options;
}

int RunXlsx(const std::vector<std::string>& args) {
  ViewerSession session;
  if (!session.Parse(args, XlsxOptions())) return kUsageStatus;
  const int language = session.language();
  uint32_t interval = 1;
  base::ArgError error;
  if (!session.line().Require("-o", error) ||
      !session.line().Integer<uint32_t>("--interval", 1, INT32_MAX, interval, error))
    return Fail(error, language);
  const std::string& out = *session.line().Value("-o");
  if (const int status = session.Open()) return status;
  if (const int status = session.LoadRange()) return status;

  const recorder::CRecorderData& data = session.data();
  return WriteOutput(out, language, [&](const std::string& path) {
    return ReportExport(output::WriteViewerWorkbookFile(path, data.samples, data.Display(), interval, language), out,
                        language);
  });
}

}  // namespace tessaly::cli
