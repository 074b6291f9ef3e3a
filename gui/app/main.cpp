#include <QApplication>

#include <clocale>

#include "app/abrel_corvane_app.h"
#include "app/pdf_export.h"
#include "app/prompt_service.h"
#include "app/screenshot_hook.h"
#include "settings/recorder_data.h"

int main(int argc, char* argv[]) {
  tessaly::settings::CRecorderData data;
  QApplication qapp(argc, argv);
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
