#include "widgets/color_button.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "chart/ct_chart.h"

namespace tessaly::gui {
namespace {

// The palette, row by row (0xRRGGBB for readability): greys, then the hues
// from dark to light.
constexpr uint32_t kPaletteRgb[] = {
    0x000000, 0x404040, 0x808080, 0xC0C0C0, 0xFFFFFF,  //
    0x800000, 0xFF0000, 0xFF8080, 0xFF8000, 0x804000,  //
    0x808000, 0xFFFF00, 0xFFFF80, 0xFFC000, 0xC0C080,  //
    0x004000, 0x008000, 0x00FF00, 0x80FF80, 0x408080,  //
    0x008080, 0x00FFFF, 0x80FFFF, 0x0080FF, 0x4080C0,  //
    0x000080, 0x0000FF, 0x8080FF, 0x400080, 0x404080,  //
    0x800080, 0xFF00FF, 0xFF80FF, 0x8000FF, 0xC080C0,  //
};
static_assert(std::size(kPaletteRgb) % ColorPalettePopup::kColumns == 0);

QIcon SwatchIcon(const QColor& color, QSize size) {
  QPixmap pixmap(size);
  pixmap.fill(color);
  QPainter painter(&pixmap);
  painter.setPen(QColor(0x80, 0x80, 0x80));
  painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
  return QIcon(pixmap);
}

}  // namespace

uint32_t FromQColor(const QColor& color) {
  return static_cast<uint32_t>(color.red()) | static_cast<uint32_t>(color.green()) << 8 |
         static_cast<uint32_t>(color.blue()) << 16;
}

ColorPalettePopup::ColorPalettePopup(QWidget* parent) : QFrame(parent, Qt::Popup) {
  setFrameShape(QFrame::StyledPanel);
  auto* grid = new QGridLayout(this);
  grid->setSpacing(2);
  grid->setContentsMargins(4, 4, 4, 4);
  int index = 0;
  for (uint32_t rgb : kPaletteRgb) {
    const QColor color((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    auto* swatch = new QToolButton(this);
    swatch->setAutoRaise(true);
    swatch->setIconSize(QSize(16, 16));
    swatch->setIcon(SwatchIcon(color, QSize(16, 16)));
    swatch->setToolTip(color.name().toUpper());
    connect(swatch, &QToolButton::clicked, this, [this, color] { emit colorPicked(FromQColor(color)); });
    grid->addWidget(swatch, index / kColumns, index % kColumns);
    swatches_.append(swatch);
    ++index;
  }
  other_ = new QPushButton(this);
  connect(other_, &QPushButton::clicked, this, &ColorPalettePopup::otherRequested);
  grid->addWidget(other_, index / kColumns, 0, 1, kColumns);
}

void ColorPalettePopup::SetOtherText(const QString& text) { other_->setText(text); }

ColorButton::ColorButton(QWidget* parent) : QToolButton(parent), palette_(new ColorPalettePopup(this)) {
  setIconSize(QSize(44, 14));
  setMinimumWidth(64);
  setToolButtonStyle(Qt::ToolButtonIconOnly);
  setArrowType(Qt::NoArrow);
  SetColor(0);
  chooseOther = [this](uint32_t current) -> std::optional<uint32_t> {
    const QColor chosen = QColorDialog::getColor(ColourFromBgr(current), window());
    if (!chosen.isValid()) return std::nullopt;
    return FromQColor(chosen);
  };
  connect(this, &QToolButton::clicked, this, &ColorButton::ShowPalette);
  connect(palette_, &ColorPalettePopup::colorPicked, this, [this](uint32_t color) {
    palette_->hide();
    Choose(color);
  });
  connect(palette_, &ColorPalettePopup::otherRequested, this, [this] {
    palette_->hide();
    if (const std::optional<uint32_t> color = chooseOther(color_)) Choose(*color);
  });
}

void ColorButton::SetColor(uint32_t color) {
  color_ = color & 0x00FFFFFF;
  setIcon(SwatchIcon(ColourFromBgr(color_), iconSize()));
}

void ColorButton::ShowPalette() {
  palette_->adjustSize();
  palette_->move(mapToGlobal(QPoint(0, height())));
  palette_->show();
}

void ColorButton::Choose(uint32_t color) {
  SetColor(color);
  emit colorChosen(color_);
}

}  // namespace tessaly::gui
