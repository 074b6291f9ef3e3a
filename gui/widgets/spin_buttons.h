#pragma once
// Up and down arrows beside an edit field, its buddy: a position within a
// range that the arrows (and the keyboard's up and down keys on the field)
// step by one and that is written into the field as a plain decimal number,
// without digit grouping, whenever it changes. The field itself stays free
// for typing; what it holds is read by whoever needs it.
#include <QWidget>
#include <cstdint>

class QLineEdit;
class QToolButton;

namespace tessaly::gui {

class SpinButtons : public QWidget {
  Q_OBJECT
 public:
  SpinButtons(QLineEdit* buddy, QWidget* parent = nullptr);

  void SetRange(int64_t low, int64_t high);
  // Clamped to the range; the field shows the position when it changes.
  void SetPosition(int64_t position);
  int64_t Position() const { return position_; }
  void StepBy(int64_t steps);

  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* buddy_;
  QToolButton* up_;
  QToolButton* down_;
  int64_t low_ = 0;
  int64_t high_ = 100;
  int64_t position_ = 0;
};

}  // namespace tessaly::gui
