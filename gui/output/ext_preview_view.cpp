#include "output/ext_preview_view.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "output/print_document.h"
#include "widgets/ui_text.h"

namespace tessaly::gui {
namespace {

using base::TextId;

constexpr int kMargin = 8;         // around the pages
constexpr int kShadow = 3;         // right and below the paper
constexpr int kSecondPageGap = 8;  // between two pages shown side by side

struct ButtonSpec {
  Command command;
  TextId text;
};
constexpr ButtonSpec kButtons[] = {
    {Command::PreviewPrint, TextId::PreviewPrint},       {Command::PreviewNext, TextId::PreviewNext},
    {Command::PreviewPrevious, TextId::PreviewPrevious}, {Command::PreviewTwoPages, TextId::PreviewTwoPages},
    {Command::PreviewZoomIn, TextId::PreviewZoomIn},     {Command::PreviewZoomOut, TextId::PreviewZoomOut},
    {Command::PreviewClose, TextId::PreviewClose},       {Command::PreviewPdf, TextId::PreviewPdf},
};

// A magnifying glass whose centre is the hot spot.
QCursor MagnifierCursor() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(19, 19), QPointF(29, 29));
  p.setPen(QPen(Qt::white, 1));
  p.setBrush(QColor(255, 255, 255, 200));
  p.drawEllipse(QPointF(12, 12), 10, 10);
  p.setPen(QPen(Qt::black, 2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(12, 12), 9, 9);
  p.end();
  return QCursor(pixmap, 12, 12);
}

}  // namespace

class ExtPreviewView::Canvas : public QWidget {
 public:
  explicit Canvas(ExtPreviewView& view) : view_(view) { setMouseTracking(true); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    view_.PaintPages(p);
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && OverPage(event->position().toPoint()) && view_.zoom_ != kActualSize)
      view_.SetZoom(kActualSize);
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    static const QCursor magnifier = MagnifierCursor();
    const bool magnify = OverPage(event->position().toPoint()) && view_.zoom_ != kLargest;
    setCursor(magnify ? magnifier : QCursor(Qt::ArrowCursor));
  }

 private:
  bool OverPage(const QPoint& at) const {
    for (int i = 0; i < view_.pagesShown_; ++i)
      if (view_.PageRect(i).contains(at)) return true;
    return false;
  }
  ExtPreviewView& view_;
};

ExtPreviewView::ExtPreviewView(PrintDocument& document, const QPageLayout& paper, uint32_t pageCount, int language,
                               QWidget* parent)
    : QWidget(parent),
      document_(document),
      paper_(paper),
      pageCount_(pageCount),
      language_(language),
      scroll_(new QScrollArea(this)),
      canvas_(new Canvas(*this)) {
  setObjectName(QStringLiteral("previewView"));
  auto* bar = new QWidget(this);
  bar->setObjectName(QStringLiteral("1500"));
  auto* barLayout = new QHBoxLayout(bar);
  barLayout->setContentsMargins(4, 3, 4, 3);
  // Buttons 44 x 12 dialog units at least, as the tool bar lays them out.
  const QFontMetrics fm(font());
  const int unitX = fm.averageCharWidth(), unitY = fm.height();
  for (const ButtonSpec& entry : kButtons) {
    auto* button = WithControlId(new QPushButton(UiText(entry.text, language), bar), static_cast<int>(entry.command));
    button->setMinimumSize(44 * unitX / 4, 12 * unitY / 8 + 4);
    button->setFocusPolicy(Qt::TabFocus);
    connect(button, &QPushButton::clicked, this, [this, command = entry.command] { RunCommand(command); });
    barLayout->addWidget(button);
    buttons_[entry.command] = button;
  }
  barLayout->addStretch();
  scroll_->setWidget(canvas_);
  scroll_->setBackgroundRole(QPalette::Dark);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->installEventFilter(this);
  scroll_->viewport()->installEventFilter(this);
  canvas_->installEventFilter(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar);
  layout->addWidget(scroll_, 1);
  setFocusProxy(scroll_);
  // The first placement fits the page; the preview then shows it at 1 : 1.
  Place();
  SetZoom(kActualSize);
}

QWidget* ExtPreviewView::canvas() const { return canvas_; }

void ExtPreviewView::RunCommand(Command command) {
  switch (command) {
    case Command::PreviewPrint: emit printRequested(); return;
    case Command::PreviewPdf: emit pdfRequested(); return;
    case Command::PreviewClose: emit closeRequested(); return;
    case Command::PreviewNext: ++currentPage_; break;
    case Command::PreviewPrevious: --currentPage_; break;
    case Command::PreviewTwoPages:
      pagesShown_ = 3 - pagesShown_;
      Place();
      break;
    case Command::PreviewZoomIn:
      SetZoom(zoom_ == kActualSize ? kLarge : zoom_ == kLarge ? kLargest : kActualSize);
      return;
    case Command::PreviewZoomOut:
      if (zoom_ != kActualSize) SetZoom(kActualSize);
      return;
    default: return;
  }
  UpdateButtons();
  canvas_->update();
}

void ExtPreviewView::UpdateButtons() {
  buttons_[Command::PreviewNext]->setEnabled(currentPage_ + pagesShown_ - 1 < pageCount_);
  buttons_[Command::PreviewPrevious]->setEnabled(currentPage_ > 1);
  buttons_[Command::PreviewTwoPages]->setEnabled(zoom_ == kFit && (pageCount_ >= 2 || pagesShown_ >= 2));
  buttons_[Command::PreviewTwoPages]->setText(
      UiText(pagesShown_ == 2 ? TextId::PreviewOnePage : TextId::PreviewTwoPages, language_));
  buttons_[Command::PreviewZoomIn]->setEnabled(zoom_ != kLargest);
  buttons_[Command::PreviewZoomOut]->setEnabled(zoom_ != kFit);
}

void ExtPreviewView::SetZoom(ZoomState zoom) {
  zoom_ = zoom;
  Place();
  scroll_->horizontalScrollBar()->setValue(0);
  scroll_->verticalScrollBar()->setValue(0);
  UpdateButtons();
  canvas_->update();
}

QSizeF ExtPreviewView::PaperPixels() const {
  const QSizeF inches = paper_.fullRect(QPageLayout::Inch).size();
  return {inches.width() * logicalDpiX(), inches.height() * logicalDpiY()};
}

double ExtPreviewView::Scale() const {
  switch (zoom_) {
    case kActualSize: return 1.0;
    case kLarge: return 2.5;
    case kLargest: return 4.0;
    case kFit: break;
  }
  const QSizeF paper = PaperPixels();
  const QSize room = scroll_->viewport()->size() - QSize(2 * kMargin + kShadow, 2 * kMargin + kShadow);
  const double across = (room.width() - (pagesShown_ - 1) * kSecondPageGap) / (pagesShown_ * paper.width());
  return std::max(0.05, std::min(across, room.height() / paper.height()));
}

QSize ExtPreviewView::ScaledPaper() const {
  const QSizeF paper = PaperPixels() * Scale();
  return {qRound(paper.width()), qRound(paper.height())};
}

QRect ExtPreviewView::PageRect(int shownIndex) const {
  const QSize paper = ScaledPaper();
  const QSize page(paper.width() + 1 + kShadow, paper.height() + 1 + kShadow);
  QPoint topLeft(kMargin, kMargin);
  if (zoom_ == kFit) {
    const int width = pagesShown_ * page.width() + (pagesShown_ - 1) * kSecondPageGap;
    topLeft = QPoint(std::max(0, (canvas_->width() - width) / 2), std::max(0, (canvas_->height() - page.height()) / 2));
  }
  return {topLeft + QPoint(shownIndex * (page.width() + kSecondPageGap), 0), page};
}

void ExtPreviewView::Place() {
  if (zoom_ == kFit) {
    scroll_->setWidgetResizable(true);
    return;
  }
  scroll_->setWidgetResizable(false);
  const QRect last = PageRect(pagesShown_ - 1);
  canvas_->resize(last.right() + 1 + kMargin, last.bottom() + 1 + kMargin);
}

void ExtPreviewView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (zoom_ == kFit) canvas_->update();
}

bool ExtPreviewView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const Command command = key->key() == Qt::Key_PageDown ? Command::PreviewNext
                            : key->key() == Qt::Key_PageUp ? Command::PreviewPrevious
                            : key->key() == Qt::Key_Escape ? Command::PreviewClose
                                                           : Command{};
    if (command != Command{}) {
      if (buttons_[command]->isEnabled()) RunCommand(command);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void ExtPreviewView::PaintPages(QPainter& p) {
  p.fillRect(canvas_->rect(), palette().color(QPalette::Dark));  // the workspace
  const QRectF printable = paper_.paintRect(QPageLayout::Inch);
  const double scale = Scale();
  const QPointF offset(printable.left() * logicalDpiX() * scale, printable.top() * logicalDpiY() * scale);
  const QSizeF area(printable.width() * logicalDpiX() * scale, printable.height() * logicalDpiY() * scale);
  for (int i = 0; i < pagesShown_; ++i) {
    const QRect page = PageRect(i);
    const QRect paper = page.adjusted(0, 0, -kShadow, -kShadow);
    const QColor shadow = palette().color(QPalette::Shadow);
    p.fillRect(paper, palette().color(QPalette::WindowText));  // the frame
    p.fillRect(QRect(paper.right() + 1, paper.top() + kShadow, kShadow, paper.height() - 2), shadow);
    p.fillRect(QRect(paper.left() + kShadow, paper.bottom() + 1, paper.width(), kShadow), shadow);
    const QRect sheet = paper.adjusted(1, 1, -2, -2);
    p.fillRect(sheet, Qt::white);
    const uint32_t number = currentPage_ + static_cast<uint32_t>(i);
    if (number > pageCount_) break;  // the second of two pages, past the last
    p.save();
    p.setClipRect(sheet);
    document_.PrintPage(p, QRectF(QPointF(paper.topLeft() + QPoint(1, 1)) + offset, area), number);
    p.restore();
  }
}

}  // namespace tessaly::gui
