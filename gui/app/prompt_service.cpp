#include "app/prompt_service.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStringList>
#include <QThread>

#include "base/texts.h"
#include "settings/recorder_data.h"

namespace tessaly::gui {

using base::Text;
using base::TextId;

QtPromptService::QtPromptService(const settings::CRecorderData& data) : data_(data) {}

void QtPromptService::ShowMessage(const std::string& utf8Text) {
  // Core may speak from a worker thread; boxes belong to the UI thread.
  if (QThread::currentThread() != qApp->thread()) {
    QMetaObject::invokeMethod(
        qApp, [this, utf8Text] { ShowMessage(utf8Text); }, Qt::BlockingQueuedConnection);
    return;
  }
  QMessageBox box(QMessageBox::Information, QString::fromUtf8(Text(TextId::AppTitle, data_.language)),
                  QString::fromUtf8(utf8Text), QMessageBox::NoButton, QApplication::activeWindow());
  box.addButton(QString::fromUtf8(Text(TextId::ButtonOk, data_.language)), QMessageBox::AcceptRole);
  box.exec();
}

QString QtPromptService::OpenFileName(QWidget* parent, const QString& title, const QString& filter) {
  return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QString QtPromptService::SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                      const QString& suggestedPath) {
  return QFileDialog::getSaveFileName(parent, title, suggestedPath, filter);
}

QString QtPromptService::FolderName(QWidget* parent, const QString& title, const QString& startFolder) {
  return QFileDialog::getExistingDirectory(parent, title, startFolder);
}

bool QtPromptService::PrintDialog(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

int QtPromptService::RunDialog(QDialog& dialog) { return dialog.exec(); }

QString QtFileFilter(const QString& pairs) {
  const QStringList parts = pairs.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) break;  // the closing "||"
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    const QString shown = QLatin1Char('(') + patterns + QLatin1Char(')');
    // A description that is just its patterns, "(*.csv)", is not repeated.
    filters << (parts[i].trimmed() == shown ? shown : parts[i] + QLatin1Char(' ') + shown);
  }
  return filters.join(QStringLiteral(";;"));
}

}  // namespace tessaly::gui
