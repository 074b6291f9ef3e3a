#include "gui/support/scripted_prompts.h"

#include <QDialog>
#include <QPrinter>
#include <algorithm>

namespace tessaly::testing {

void ScriptedPrompts::ShowMessage(const std::string& utf8Text) {
  asked.push_back({"message", QString::fromStdString(utf8Text)});
}

QString ScriptedPrompts::NextPath(const char* kind, const QString& text) {
  asked.push_back({kind, text});
  if (paths.empty()) return {};
  QString answer = paths.front();
  paths.pop_front();
  return answer;
}

QString ScriptedPrompts::OpenFileName(QWidget*, const QString&, const QString& filter) {
  return NextPath("open", filter);
}

QStringList ScriptedPrompts::OpenFileNames(QWidget*, const QString&, const QString& filter) {
  const QString answer = NextPath("open", filter);
  return answer.isEmpty() ? QStringList() : answer.split(QLatin1Char('\n'));
}

QString ScriptedPrompts::SaveFileName(QWidget*, const QString&, const QString& filter, const QString&) {
  return NextPath("save", filter);
}

QString ScriptedPrompts::FolderName(QWidget*, const QString& title, const QString&) {
  return NextPath("folder", title);
}

bool ScriptedPrompts::PrintDialog(QWidget*, QPrinter& printer) {
  asked.push_back({"print", {}});
  if (printAnswers.empty()) return false;
  const bool answer = printAnswers.front();
  printAnswers.pop_front();
  if (answer && !printFile.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printFile);
  }
  return answer;
}

int ScriptedPrompts::RunDialog(QDialog& dialog) {
  asked.push_back({"dialog", dialog.objectName()});
  if (dialogs.empty()) return QDialog::Rejected;
  auto answer = std::move(dialogs.front());
  dialogs.pop_front();
  return answer(dialog);
}

std::vector<std::string> ScriptedPrompts::Messages() const {
  std::vector<std::string> texts;
  for (const Asked& a : asked)
    if (a.kind == "message") texts.push_back(a.text.toStdString());
  return texts;
}

int ScriptedPrompts::Count(const std::string& kind) const {
  return static_cast<int>(std::count_if(asked.begin(), asked.end(), [&](const Asked& a) { return a.kind == kind; }));
}

}  // namespace tessaly::testing
