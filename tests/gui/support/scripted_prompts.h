#pragma once
// The prompt service of the GUI tests: answers come from queues, everything
// asked is recorded. An empty queue answers like a user pressing Cancel.
#include <QString>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/prompt_service.h"

namespace tessaly::testing {

class ScriptedPrompts : public gui::PromptService {
 public:
  struct Asked {
    std::string kind;  // "message", "open", "save", "folder", "print", "dialog"
    QString text;      // message text, file filter or dialog object name
  };

  void ShowMessage(const std::string& utf8Text) override;
  QString OpenFileName(QWidget* parent, const QString& title, const QString& filter) override;
  // Answers with the next path, several files being separated by new lines.
  QStringList OpenFileNames(QWidget* parent, const QString& title, const QString& filter) override;
  QString SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                       const QString& suggestedPath) override;
  QString FolderName(QWidget* parent, const QString& title, const QString& startFolder) override;
  bool PrintDialog(QWidget* parent, QPrinter& printer) override;
  int RunDialog(QDialog& dialog) override;

  // Texts of the message boxes shown, in order.
  std::vector<std::string> Messages() const;
  int Count(const std::string& kind) const;

  std::deque<QString> paths;  // open, save and folder answers
  std::deque<bool> printAnswers;
  QString printFile;  // when set, a confirmed print dialog chooses "print to this PDF file"
  std::deque<std::function<int(QDialog&)>> dialogs;  // act on the dialog, return its result
  std::vector<Asked> asked;

 private:
  QString NextPath(const char* kind, const QString& text);
};

}  // namespace tessaly::testing
