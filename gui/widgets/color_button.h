#pragma once
// A button that shows a colour and, when clicked, offers a palette of colours
// in 5 columns and an entry for other colours that opens the system colour
// dialog. Colours are Windows colour values, 0x00BBGGRR, as the settings
// store them.
#include <QFrame>
#include <QToolButton>
#include <cstdint>
#include <functional>
#include <optional>

class QPushButton;

namespace tessaly::gui {

// The inverse of ColourFromBgr.
uint32_t FromQColor(const QColor& color);

class ColorPalettePopup : public QFrame {
  Q_OBJECT
 public:
  static constexpr int kColumns = 5;

  explicit ColorPalettePopup(QWidget* parent);

  QList<QToolButton*> Swatches() const { return swatches_; }
  QPushButton* OtherButton() const { return other_; }
  void SetOtherText(const QString& text);

 signals:
  void colorPicked(uint32_t color);
  void otherRequested();

 private:
  QList<QToolButton*> swatches_;
  QPushButton* other_;
};

class ColorButton : public QToolButton {
  Q_OBJECT
 public:
  explicit ColorButton(QWidget* parent = nullptr);

  uint32_t Color() const { return color_; }
  // Shows a colour without reporting it as chosen.
  void SetColor(uint32_t color);
  void SetOtherText(const QString& text) { palette_->SetOtherText(text); }

  ColorPalettePopup* Palette() const { return palette_; }

  // What "Other" asks; the system colour dialog unless replaced. No value:
  // the user cancelled.
  std::function<std::optional<uint32_t>(uint32_t current)> chooseOther;

 signals:
  void colorChosen(uint32_t color);

 private:
  void ShowPalette();
  void Choose(uint32_t color);

  uint32_t color_ = 0;
  ColorPalettePopup* palette_;
};

}  // namespace tessaly::gui
