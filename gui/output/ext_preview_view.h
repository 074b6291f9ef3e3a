#pragma once
// The preview view: the document's pages on screen with the seven-button
// tool bar (Print, Next, Previous, one/two pages, Zoom In, Zoom Out, Close)
// and a PDF button. The page is shown at its real size (1 : 1) from the first
// paint on, on the workspace background with a frame and a shadow.
#include <QPageLayout>
#include <QWidget>
#include <cstdint>
#include <map>

#include "app/command_ids.h"

class QPushButton;
class QScrollArea;

namespace tessaly::gui {

class PrintDocument;

class ExtPreviewView : public QWidget {
  Q_OBJECT
 public:
  // Zoom states and the page's scale in each.
  enum ZoomState { kFit = 0, kActualSize = 3, kLarge = 4, kLargest = 5 };

  // `document` composes the pages; `paper` gives the paper and its printable
  // area; the tool bar's Print, PDF and Close are reported as signals.
  ExtPreviewView(PrintDocument& document, const QPageLayout& paper, uint32_t pageCount, int language,
                 QWidget* parent = nullptr);

  uint32_t CurrentPage() const { return currentPage_; }
  uint32_t PageCount() const { return pageCount_; }
  int PagesShown() const { return pagesShown_; }
  ZoomState Zoom() const { return zoom_; }
  QPushButton* Button(Command command) const { return buttons_.at(command); }
  QScrollArea* scrollArea() const { return scroll_; }
  QWidget* canvas() const;
  // Where the shown pages lie on the canvas, paper and shadow included.
  QRect PageRect(int shownIndex) const;
  // The paper at the current scale, in screen pixels.
  QSize ScaledPaper() const;

 signals:
  void printRequested();
  void pdfRequested();
  void closeRequested();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class Canvas;

  void RunCommand(Command command);
  void UpdateButtons();
  void SetZoom(ZoomState zoom);
  void Place();
  double Scale() const;
  QSizeF PaperPixels() const;
  void PaintPages(QPainter& painter);

  PrintDocument& document_;
  QPageLayout paper_;
  uint32_t pageCount_;
  int language_;
  uint32_t currentPage_ = 1;
  int pagesShown_ = 1;
  ZoomState zoom_ = kFit;
  std::map<Command, QPushButton*> buttons_;
  QScrollArea* scroll_;
  Canvas* canvas_;
};

}  // namespace tessaly::gui
