#pragma once
// The range-statistics dialog ("区域曲线统计" / "Range Statistics"): peak,
// valley and mean, or the time below and above two limits, over a time range
// of the SampleBuffer, listed and copied to the clipboard as text.
#include <QDialog>

#include "analysis/statistics.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTreeWidget;

namespace tessaly::recorder {
struct CRecorderData;
}

namespace tessaly::gui {

class MomentEdit;

class CStatisticsDlg : public QDialog {
  Q_OBJECT
 public:
  // Opens on the whole buffer: from the first sample's time to the last's.
  explicit CStatisticsDlg(recorder::CRecorderData& data, QWidget* parent = nullptr);

  // Sets the start and stop pickers (to the second); a time that is not
  // valid leaves its pickers as they are.
  void SetRange(const record::RecordTime& start, const record::RecordTime& stop);

  // The list as the last statistics left it.
  const analysis::StatisticsTable& Table() const { return table_; }
  // What the Copy button puts on the clipboard.
  std::string CopyText() const { return analysis::CopyText(table_); }

 private:
  void RunPeakValleyAverage();
  void RunOverLimit();
  void Show(const analysis::StatisticsResult& result);
  void Copy();

  recorder::CRecorderData& data_;
  const int language_;
  MomentEdit* start_;
  MomentEdit* stop_;
  QLineEdit* lower_;
  QLineEdit* upper_;
  QCheckBox* below_;
  QCheckBox* above_;
  QComboBox* channel_;
  QTreeWidget* report_;
  analysis::StatisticsTable table_;
};

}  // namespace tessaly::gui
