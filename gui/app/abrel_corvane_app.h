#pragma once
// The application: start-up (settings, interface language, main window,
// record files named on the command line) and, at the end, the settings
// written back as the program leaves.
#include <QStringList>
#include <memory>

#include "app/main_frame.h"

class QTranslator;

namespace tessaly::recorder {
struct CRecorderData;
}

namespace tessaly::gui {

class PromptService;

class CAbrel_CorvaneApp {
 public:
  CAbrel_CorvaneApp(recorder::CRecorderData& data, PromptService& prompts, MainFrameOptions options = {});
  ~CAbrel_CorvaneApp();  // destroys the main frame, then writes the settings
  CAbrel_CorvaneApp(const CAbrel_CorvaneApp&) = delete;
  CAbrel_CorvaneApp& operator=(const CAbrel_CorvaneApp&) = delete;

  // Reads the settings, takes the interface language from the language flag,
  // shows the main frame maximised and opens the record files among
  // `arguments` (the program's own name first). The mainframe exists after.
  void InitInstance(const QStringList& arguments);

  CMainFrame* mainFrame() const { return mainFrame_.get(); }

 private:
  void SetInterfaceLanguage();

  recorder::CRecorderData& data_;
  PromptService& prompts_;
  MainFrameOptions options_;
  std::unique_ptr<QTranslator> qtTexts_;
  std::unique_ptr<CMainFrame> mainFrame_;
};

}  // namespace tessaly::gui
