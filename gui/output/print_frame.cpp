#include "output/print_frame.h"

#include <QFile>
#include <QPrinter>
#include <QVBoxLayout>

#include "app/prompt_service.h"
#include "base/format.h"
#include "output/ext_preview_view.h"
#include "widgets/ui_text.h"

namespace tessaly::gui {

using base::TextId;

namespace {

// The paper the preview shows: the default printer's A4 landscape with its margins.
QPageLayout PreviewPaper() {
  QPrinter printer(QPrinter::HighResolution);
  UsePrintPaper(printer);
  return printer.pageLayout();
}

}  // namespace

CPrintView::CPrintView(PrintDocument& owner, QObject& ownerLifetime, PromptService& prompts, int language,
                       CPrintFrame& frame)
    : QWidget(&frame),
      owner_(owner),
      ownerAlive_(&ownerLifetime),
      prompts_(prompts),
      language_(language),
      frame_(frame),
      paper_(PreviewPaper()) {
  setObjectName(QStringLiteral("printView"));
}

bool CPrintView::StartPreview() {
  const uint32_t pages = BeginPrinting();
  if (pages == 0) return false;
  preview_ = new ExtPreviewView(*this, paper_, pages, language_, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(preview_);
  connect(preview_, &ExtPreviewView::printRequested, this, &CPrintView::OnFilePrint);
  connect(preview_, &ExtPreviewView::pdfRequested, this, &CPrintView::OnSavePdf);
  connect(preview_, &ExtPreviewView::closeRequested, &frame_, &QWidget::close);
  preview_->setFocus();
  return true;
}

void CPrintView::OnFilePrint() {
  QPrinter printer(QPrinter::HighResolution);
  UsePrintPaper(printer);
  if (prompts_.PrintDialog(this, printer) && RenderDocument(*this, printer) == RenderResult::Failed) {
    const QString target = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    prompts_.ShowMessage(base::FormatText(base::Text(TextId::WriteFailed, language_), target.toUtf8().constData()));
  }
  frame_.close();
}

void CPrintView::OnSavePdf() {
  const QString path = prompts_.SaveFileName(this, {}, QtFileFilter(UiText(TextId::PreviewPdfFilter, language_)), {});
  if (path.isEmpty()) return;
  if (WritePdf(*this, path) == RenderResult::Failed)
    prompts_.ShowMessage(
        base::FormatText(base::Text(TextId::WriteFailed, language_), QFile::encodeName(path).constData()));
}

uint32_t CPrintView::BeginPrinting() { return ownerAlive_ ? owner_.BeginPrinting() : 0; }

void CPrintView::PrintPage(QPainter& painter, const QRectF& area, uint32_t page) {
  if (ownerAlive_) owner_.PrintPage(painter, area, page);
}

void CPrintView::EndPrinting() {
  if (ownerAlive_) owner_.EndPrinting();
}

CPrintFrame::CPrintFrame(PrintDocument& owner, QObject& ownerLifetime, PromptService& prompts, int language,
                         QWidget* previousMain)
    : view_(new CPrintView(owner, ownerLifetime, prompts, language, *this)), previousMain_(previousMain) {
  setObjectName(QStringLiteral("printFrame"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(UiText(TextId::PreviewCaption, language));
  setCentralWidget(view_);
}

CPrintFrame* CPrintFrame::Open(PrintDocument& owner, QObject& ownerLifetime, PromptService& prompts, int language,
                               QWidget* previousMain) {
  auto* frame = new CPrintFrame(owner, ownerLifetime, prompts, language, previousMain);
  if (!frame->view_->StartPreview()) {
    delete frame;
    return nullptr;
  }
  // While the preview lives it is the window the user works in.
  frame->setWindowModality(Qt::ApplicationModal);
  frame->showMaximized();
  return frame;
}

CPrintFrame::~CPrintFrame() {
  if (previousMain_) {
    previousMain_->raise();
    previousMain_->activateWindow();
  }
}

}  // namespace tessaly::gui
