#include "app/abrel_corvane_app.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/prompt_service.h"
#include "recorder/recorder_data.h"
#include "resources/drawn_icons.h"
#include "settings/settings_file.h"

namespace tessaly::gui {

CAbrel_CorvaneApp::CAbrel_CorvaneApp(recorder::CRecorderData& data, PromptService& prompts, MainFrameOptions options)
    : data_(data), prompts_(prompts), options_(std::move(options)) {
  data_.messages = &prompts_;
}

CAbrel_CorvaneApp::~CAbrel_CorvaneApp() {
  mainFrame_.reset();
  settings::WriteSettings(data_);
  if (qtTexts_) QCoreApplication::removeTranslator(qtTexts_.get());
}

void CAbrel_CorvaneApp::InitInstance(const QStringList& arguments) {
  settings::ReadSettings(data_);
  SetInterfaceLanguage();
  QApplication::setWindowIcon(ProgramIcon());
  mainFrame_ = std::make_unique<CMainFrame>(data_, prompts_, options_);
  mainFrame_->showMaximized();
  QStringList paths;
  for (qsizetype i = 1; i < arguments.size(); ++i)
    if (!arguments[i].isEmpty()) paths.append(arguments[i]);
  mainFrame_->OpenPaths(paths);
}

void CAbrel_CorvaneApp::SetInterfaceLanguage() {
  // Our texts follow the flag by themselves; the locale and Qt's own texts
  // (standard dialogs) follow it here.
  const bool english = data_.language != base::kChinese;
  const QLocale locale(english ? QLocale::English : QLocale::Chinese, english ? QLocale::UnitedStates : QLocale::China);
  QLocale::setDefault(locale);
  qtTexts_ = std::make_unique<QTranslator>();
  if (qtTexts_->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(qtTexts_.get());
  else
    qtTexts_.reset();
}

}  // namespace tessaly::gui
