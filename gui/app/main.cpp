#include <QApplication>

#include <clocale>
#include <cstdio>
#include <string_view>

#include "app/abrel_corvane_app.h"
#include "app/pdf_export.h"
#include "app/prompt_service.h"
#include "app/screenshot_hook.h"
#include "base/format.h"
#include "base/texts.h"
#include "recorder/recorder_data.h"

int main(int argc, char* argv[]) {
  using tessaly::base::TextId;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--version") {
      std::printf("tessaly %s\n", TESSALY_VERSION);
      return 0;
    }
    if (arg == "--help" || arg == "-h") {
      std::printf(
          "%s\n%s\n%s\n",
          tessaly::base::FormatText(Text(TextId::HelpUsage, tessaly::base::kEnglish), "tessaly [FILE...]").c_str(),
          Text(TextId::HelpProgram, tessaly::base::kEnglish), Text(TextId::PdfUsage, tessaly::base::kEnglish));
      return 0;
    }
  }

  tessaly::recorder::CRecorderData data;
  QApplication qapp(argc, argv);
  QApplication::setApplicationVersion(QStringLiteral(TESSALY_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral(TESSALY_APP_ID));
  // Qt takes the user's locale for the C library; the program's texts are
  // printf patterns whose numbers must read "12.50" in every locale.
  std::setlocale(LC_NUMERIC, "C");
  const QStringList arguments = QApplication::arguments();
  if (tessaly::gui::WantsPdf(arguments)) return tessaly::gui::RunPdfExport(data, arguments);
  tessaly::gui::QtPromptService prompts(data);
  tessaly::gui::CAbrel_CorvaneApp app(data, prompts);
  app.InitInstance(arguments);
  tessaly::gui::InstallScreenshotHook(*app.mainFrame());
  return QApplication::exec();
}
