#include "app/pdf_export.h"

#include <QEventLoop>
#include <QFile>
#include <QTreeWidget>
#include <cstdio>

#include "app/main_frame.h"
#include "app/prompt_service.h"
#include "base/command_line.h"
#include "base/format.h"
#include "output/print_document.h"
#include "recorder/recorder_data.h"
#include "settings/settings_file.h"
#include "viewer/child_frame.h"

namespace tessaly::gui {
namespace {

using base::TextId;

constexpr base::OptionSpec kOptions[] = {{"--pdf"}, {"--document"}, {"--page"}};

// Nobody to ask: every message goes to stderr, every dialog is cancelled.
class StderrPrompts : public UnattendedPrompts {
 public:
  void ShowMessage(const std::string& utf8Text) override { std::fprintf(stderr, "tessaly: %s\n", utf8Text.c_str()); }
};

int Fail(StderrPrompts& prompts, const std::string& message) {
  prompts.ShowMessage(message);
  return 1;
}

}  // namespace

bool WantsPdf(const QStringList& arguments) { return arguments.contains(QStringLiteral("--pdf")); }

int RunPdfExport(recorder::CRecorderData& data, const QStringList& arguments) {
  StderrPrompts prompts;
  settings::ReadSettings(data);
  data.messages = &prompts;
  const int language = data.language;
  std::vector<std::string> args;
  for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(arguments[i].toStdString());
  base::CommandLine line;
  base::ArgError error;
  if (!line.Parse(args, kOptions, error)) return Fail(prompts, error.Message(language));
  const std::string usage = base::Text(TextId::PdfUsage, language);
  const std::string* document = line.Value("--document");
  const bool known = document && (*document == "list" || *document == "graph");
  if (line.Positional().empty() || !line.Value("--pdf") || !known) return Fail(prompts, usage);
  uint32_t page = 1;
  if (!line.Integer<uint32_t>("--page", 1, UINT32_MAX, page, error)) return Fail(prompts, error.Message(language));

  CMainFrame frame(data, prompts);
  QStringList paths;
  for (const std::string& path : line.Positional()) paths.append(QFile::decodeName(path.c_str()));
  CChildFrame* viewer = frame.OpenRecordPaths(paths);
  if (!data.recordSet.IsOpen()) return 1;  // the open said why
  if (page > data.pages.size())
    return Fail(prompts, base::FormatText(base::Text(TextId::CliNoSuchPage, language), page,
                                          static_cast<unsigned>(data.pages.size())));
  const record::PageEntry& entry = data.pages[page - 1];
  QEventLoop loaded;
  QObject::connect(&frame, &CMainFrame::loadHandedOff, &loaded, &QEventLoop::quit);
  if (!frame.loader().StartPageLoad(entry.firstSector, entry.sectorCount)) return 1;
  loaded.exec();
  frame.loader().Join();  // the loader has handed off; it only has to finish

  viewer->SetPrintKind(*document == "graph" ? 1 : 0);
  const std::string out = *line.Value("--pdf");
  switch (WritePdf(*viewer, QFile::decodeName(out.c_str()))) {
    case RenderResult::Done: return 0;
    case RenderResult::Busy: return 1;
    case RenderResult::Failed: break;
  }
  return Fail(prompts, base::FormatText(base::Text(TextId::WriteFailed, language), out.c_str()));
}

}  // namespace tessaly::gui
