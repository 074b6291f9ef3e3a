#include <QApplication>

#include "app/abrel_corvane_app.h"
#include "app/prompt_service.h"
#include "app/screenshot_hook.h"
#include "settings/recorder_data.h"

int main(int argc, char* argv[]) {
  tessaly::settings::CRecorderData data;
  QApplication qapp(argc, argv);
  tessaly::gui::QtPromptService prompts(data);
  tessaly::gui::CAbrel_CorvaneApp app(data, prompts);
  app.InitInstance(QApplication::arguments());
  tessaly::gui::InstallScreenshotHook(*app.mainFrame());
  return QApplication::exec();
}
