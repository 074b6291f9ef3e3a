#pragma once
// Every modal exchange with the user goes through one service: message boxes
// (also core's messages, as a base::MessageSink), file and folder choosers,
// the print dialog and our own modal dialogs. The program shows Qt dialogs;
// tests answer from a script and record what was asked.
#include <QString>
#include <QStringList>
#include <QWidget>
#include <string>

#include "base/message_sink.h"

class QDialog;
class QFileDialog;
class QPrinter;

namespace tessaly::recorder {
struct CRecorderData;
}

namespace tessaly::gui {

class PromptService : public base::MessageSink {
 public:
  // A message box with one OK button.
  void ShowMessage(const std::string& utf8Text) override = 0;
  // The chosen path, or an empty text when the user cancelled. `filter` is a
  // Qt name filter (see QtFileFilter).
  virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
  // Several files chosen at once; empty when the user cancelled.
  virtual QStringList OpenFileNames(QWidget* parent, const QString& title, const QString& filter) = 0;
  virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                               const QString& suggestedPath) = 0;
  virtual QString FolderName(QWidget* parent, const QString& title, const QString& startFolder) = 0;
  // True when the user confirmed the print dialog for `printer`.
  virtual bool PrintDialog(QWidget* parent, QPrinter& printer) = 0;
  // Runs one of our own dialogs modally; its result (QDialog::Accepted or Rejected).
  virtual int RunDialog(QDialog& dialog) = 0;
};

// Nobody to ask (a run without a person, a benchmark): every file, folder,
// print and own dialog is cancelled; what messages do is the subclass's.
class UnattendedPrompts : public PromptService {
 public:
  QString OpenFileName(QWidget*, const QString&, const QString&) override { return {}; }
  QStringList OpenFileNames(QWidget*, const QString&, const QString&) override { return {}; }
  QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
  QString FolderName(QWidget*, const QString&, const QString&) override { return {}; }
  bool PrintDialog(QWidget*, QPrinter&) override { return false; }
  int RunDialog(QDialog&) override { return 0; }
};

// Shows real Qt dialogs; message boxes stand over the active window and
// carry the program title and an OK button in the interface language.
class QtPromptService : public PromptService {
 public:
  explicit QtPromptService(const recorder::CRecorderData& data);

  void ShowMessage(const std::string& utf8Text) override;
  void ShowError(const std::string& utf8Text) override;
  QString OpenFileName(QWidget* parent, const QString& title, const QString& filter) override;
  QStringList OpenFileNames(QWidget* parent, const QString& title, const QString& filter) override;
  QString SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                       const QString& suggestedPath) override;
  QString FolderName(QWidget* parent, const QString& title, const QString& startFolder) override;
  bool PrintDialog(QWidget* parent, QPrinter& printer) override;
  int RunDialog(QDialog& dialog) override;

 private:
  void ShowBox(bool error, const std::string& utf8Text);

  const recorder::CRecorderData& data_;
};

// The extension of a name filter's first pattern ("xlsx" of "(*.xlsx *.xls)"),
// or an empty text when that pattern is no plain "*.ext".
QString FilterSuffix(const QString& nameFilter);

// Makes `dialog` a save dialog whose typed names without an extension get
// the one of the name filter chosen: the first filter's until the user
// picks another.
void PrepareSaveDialog(QFileDialog& dialog);

// Turns a filter of "description|patterns|...||" pairs, as the text table
// keeps them, into a Qt name filter ("description (patterns);;...").
QString QtFileFilter(const QString& pairs);

}  // namespace tessaly::gui
