#pragma once
// Measurement cursors A and B on the part graph: a left click on the plot
// sets A at the nearest point, a right click sets B; the cursor set last
// moves by one point with Left/Right and by ten with Shift; Esc clears both.
// Each cursor keeps its sample, so it follows the part window while the
// window reaches that sample and goes when it does not.
#include <QObject>
#include <optional>

namespace tessaly::recorder {
struct CRecorderData;
}

namespace tessaly::gui {

class CCursorPanel;
class CTChart;

class PartGraphCursors : public QObject {
  Q_OBJECT
 public:
  static constexpr int kA = 0;
  static constexpr int kB = 1;

  PartGraphCursors(recorder::CRecorderData& data, CTChart& chart, CCursorPanel& panel, QObject* parent);

  std::optional<size_t> Sample(int cursor) const { return samples_[cursor]; }
  void Clear();
  // After the part window or the shown channels changed.
  void Follow();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OnRelease(int button, int x, int y);
  void Place(int cursor, int64_t point);
  void Move(int points);
  void Update();
  int64_t PointsInWindow() const;

  recorder::CRecorderData& data_;
  CTChart& chart_;
  CCursorPanel& panel_;
  std::optional<size_t> samples_[2];
  int chosen_ = kA;
};

}  // namespace tessaly::gui
