#pragma once
// A splitter of one row: columns with percentage shares that are kept when
// the splitter is resized. Each column but the last gets its rounded share of
// the width (its drag bar included), the last takes the remaining pixels.
// Dragging a bar moves the shares.
#include <QWidget>
#include <vector>

namespace tessaly::gui {

class SplitterCtrl : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kBarWidth = 5;
  static constexpr int kMinPaneWidth = 16;

  explicit SplitterCtrl(QWidget* parent);

  // Shares in percent, one per column, adding up to 100; clears the panes.
  void SetColumnShares(const std::vector<int>& percent);
  // Puts `pane` into column `column` (reparented to the splitter).
  void SetPane(int column, QWidget* pane);
  QWidget* Pane(int column) const;
  int ColumnCount() const { return static_cast<int>(shares_.size()); }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // Left edge of every column and the splitter's width at the end.
  std::vector<int> Edges() const;
  int BarAt(int x) const;
  void Relayout();

  std::vector<double> shares_;  // percent, kept as fractions while dragging
  std::vector<QWidget*> panes_;
  int dragBar_ = -1;
};

}  // namespace tessaly::gui
