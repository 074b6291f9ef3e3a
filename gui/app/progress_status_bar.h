#pragma once
// The status bar with four panes (300, 60, 300 pixels and the rest) and two
// progress bars laid over panes 0 and 2: the page load and the fills.
#include <QStatusBar>
#include <cstdint>

class QLabel;
class QProgressBar;

namespace tessaly::gui {

class CProgressStatusBar : public QStatusBar {
  Q_OBJECT
 public:
  static constexpr int kPaneCount = 4;

  explicit CProgressStatusBar(QWidget* parent);

  // Sector `index` of a load of `total` sectors decoded: the bar stands at
  // index + 1 of total, pane 1 shows the percentage as "%d / %d" of 100.
  void ShowLoadProgress(uint32_t index, uint32_t total);
  // Step `step` of `steps` done, shown the same way in pane 3.
  void ShowFillProgress(uint32_t step, uint32_t steps);
  // A word on the fills' outcome, after their percentage in pane 3.
  void ShowFillNote(const QString& note);
  // Both bars empty, no texts: nothing is going on.
  void Clear();

  QLabel* Pane(int index) const { return panes_[index]; }
  QProgressBar* loadProgress() const { return loadProgress_; }
  QProgressBar* fillProgress() const { return fillProgress_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  static void Show(QProgressBar* bar, QLabel* pane, uint32_t index, uint32_t total);
  void PlaceBars();

  QLabel* panes_[kPaneCount];
  QProgressBar* loadProgress_;
  QProgressBar* fillProgress_;
};

}  // namespace tessaly::gui
