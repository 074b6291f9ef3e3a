#pragma once
// The print preview's windows: CPrintFrame, a top-level frame captioned
// "打印预览" / "print preview" that holds the preview while it lives (modal,
// maximised; the previous main window comes back to the front when it
// closes), and CPrintView, its pane, which forwards begin, page and end of
// printing to the viewer frame that composes the document and prints it on
// the chosen printer or into a PDF file.
#include <QMainWindow>
#include <QPageLayout>
#include <QPointer>

#include "output/print_document.h"

namespace tessaly::gui {

class CPrintFrame;
class ExtPreviewView;
class PromptService;

class CPrintView : public QWidget, public PrintDocument {
  Q_OBJECT
 public:
  // `owner` composes the pages as long as `ownerLifetime` exists.
  CPrintView(PrintDocument& owner, QObject& ownerLifetime, PromptService& prompts, int language, CPrintFrame& frame);

  // Begins printing for the page count and shows the preview; false when
  // nothing can be composed.
  bool StartPreview();
  // The print dialog, then every page on the chosen printer; the preview
  // closes after printing and when the dialog is cancelled.
  void OnFilePrint();
  // The save dialog, then the document as an A4-landscape PDF.
  void OnSavePdf();

  ExtPreviewView* preview() const { return preview_; }

  uint32_t BeginPrinting() override;
  void PrintPage(QPainter& painter, const QRectF& area, uint32_t page) override;
  void EndPrinting() override;

 private:
  PrintDocument& owner_;
  QPointer<QObject> ownerAlive_;
  PromptService& prompts_;
  int language_;
  CPrintFrame& frame_;
  QPageLayout paper_;
  ExtPreviewView* preview_ = nullptr;
};

class CPrintFrame : public QMainWindow {
  Q_OBJECT
 public:
  // A new preview of the owner's document, shown maximised; null (and no
  // window) when nothing can be composed.
  static CPrintFrame* Open(PrintDocument& owner, QObject& ownerLifetime, PromptService& prompts, int language,
                           QWidget* previousMain);
  ~CPrintFrame() override;

  CPrintView* printView() const { return view_; }

 private:
  CPrintFrame(PrintDocument& owner, QObject& ownerLifetime, PromptService& prompts, int language,
              QWidget* previousMain);

  CPrintView* view_;
  QPointer<QWidget> previousMain_;
};

}  // namespace tessaly::gui
