#include "app/prompt_service.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpacerItem>
#include <QStringList>
#include <QThread>

#include "base/texts.h"
#include "recorder/recorder_data.h"

namespace tessaly::gui {

using base::Text;
using base::TextId;

namespace {

// Room beside a window title for the icon and the buttons of its title bar.
constexpr int kTitleBarButtonsWidth = 160;

}  // namespace

QtPromptService::QtPromptService(const recorder::CRecorderData& data) : data_(data) {}

void QtPromptService::ShowMessage(const std::string& utf8Text) { ShowBox(false, utf8Text); }

void QtPromptService::ShowError(const std::string& utf8Text) { ShowBox(true, utf8Text); }

void QtPromptService::ShowBox(bool error, const std::string& utf8Text) {
  // Core may speak from a worker thread; boxes belong to the UI thread.
  if (QThread::currentThread() != qApp->thread()) {
    QMetaObject::invokeMethod(
        qApp, [this, error, utf8Text] { ShowBox(error, utf8Text); }, Qt::BlockingQueuedConnection);
    return;
  }
  const QString title = QString::fromUtf8(Text(TextId::AppTitle, data_.language));
  QMessageBox box(error ? QMessageBox::Warning : QMessageBox::Information, title, QString::fromUtf8(utf8Text),
                  QMessageBox::NoButton, QApplication::activeWindow());
  box.addButton(QString::fromUtf8(Text(TextId::ButtonOk, data_.language)), QMessageBox::AcceptRole);
  // Wide enough for the title beside the title bar's buttons; the box sizes
  // itself to its text only, so a spanning spacer sets the least width.
  QFont titleFont = box.font();
  titleFont.setBold(true);
  const int width = QFontMetrics(titleFont).horizontalAdvance(title) + kTitleBarButtonsWidth;
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
  box.exec();
}

QString QtPromptService::OpenFileName(QWidget* parent, const QString& title, const QString& filter) {
  return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QStringList QtPromptService::OpenFileNames(QWidget* parent, const QString& title, const QString& filter) {
  return QFileDialog::getOpenFileNames(parent, title, QString(), filter);
}

QString QtPromptService::SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                      const QString& suggestedPath) {
  QFileDialog dialog(parent, title, suggestedPath, filter);
  PrepareSaveDialog(dialog);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles().value(0);
}

QString QtPromptService::FolderName(QWidget* parent, const QString& title, const QString& startFolder) {
  return QFileDialog::getExistingDirectory(parent, title, startFolder);
}

bool QtPromptService::PrintDialog(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

int QtPromptService::RunDialog(QDialog& dialog) { return dialog.exec(); }

QString FilterSuffix(const QString& nameFilter) {
  const qsizetype open = nameFilter.lastIndexOf(QLatin1Char('('));
  const qsizetype close = nameFilter.lastIndexOf(QLatin1Char(')'));
  if (open < 0 || close < open) return {};
  const QString first = nameFilter.mid(open + 1, close - open - 1).section(QLatin1Char(' '), 0, 0);
  static const QRegularExpression plainSuffix(QStringLiteral("^\\*\\.([^*?\\[\\]]+)$"));
  return plainSuffix.match(first).captured(1);
}

void PrepareSaveDialog(QFileDialog& dialog) {
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(FilterSuffix(dialog.selectedNameFilter()));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&dialog](const QString& nameFilter) { dialog.setDefaultSuffix(FilterSuffix(nameFilter)); });
}

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
