#pragma once
// The docked panel of the measurement cursors beside the part graph: the
// times at A and B and between them, a row per shown channel (name, unit, A,
// B, difference, minimum, maximum, mean, time over and under its limits) in
// the channel's colour, and Copy, "统计 A–B" / "Statistics A–B" and clear.
#include <QDockWidget>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/statistics.h"

class QAction;
class QLabel;
class QPushButton;
class QTableWidget;

namespace tessaly::recorder {
struct CRecorderData;
}

namespace tessaly::gui {

class CCursorPanel : public QDockWidget {
  Q_OBJECT
 public:
  CCursorPanel(int language, QWidget* parent = nullptr);

  // Shows the cursors on samples a and b of the buffer; the table needs both.
  void Show(const recorder::CRecorderData& data, std::optional<size_t> a, std::optional<size_t> b);

  // The width the user gave the panel by dragging its left edge.
  int RequestedWidth() const { return requestedWidth_; }

  const analysis::StatisticsTable& Table() const { return table_; }
  // What Copy puts on the clipboard.
  std::string CopyText() const { return analysis::CopyText(table_); }

 signals:
  void statisticsRequested();
  void clearRequested();
  // Shown, hidden or resized: the page lays the part graph out again.
  void layoutChanged();

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Copy();

  const int language_;
  QLabel* timeA_;
  QLabel* timeB_;
  QLabel* delta_;
  QTableWidget* grid_;
  QPushButton* copy_;
  QPushButton* statistics_;
  QWidget* grip_;
  int requestedWidth_;
  std::vector<std::pair<QPushButton*, QAction*>> commands_;
  std::optional<int> dragX_;
  bool userSized_ = false;
  analysis::StatisticsTable table_;
};

}  // namespace tessaly::gui
