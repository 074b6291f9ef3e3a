#pragma once
// The search-by-time dialog ("搜索时间设置" / "Search Data By Time"): a start
// and a stop moment and what to do with the range found.
#include <QDialog>

#include "record/record_time.h"

class QCheckBox;

namespace tessaly::recorder {
struct CRecorderData;
}

namespace tessaly::gui {

class MomentEdit;

class CSearchByTimeDlg : public QDialog {
  Q_OBJECT
 public:
  // All four pickers start at the current local date and time.
  explicit CSearchByTimeDlg(recorder::CRecorderData& data, QWidget* parent = nullptr);

  record::CalendarFields StartFields() const;
  record::CalendarFields StopFields() const;
  bool SaveToTree() const;
  bool ClearTree() const;

  // Closes with OK only when the stop moment is later than the start moment.
  void accept() override;

 private:
  recorder::CRecorderData& data_;
  MomentEdit* start_;
  MomentEdit* stop_;
  QCheckBox* saveToTree_;
  QCheckBox* clearTree_;
};

}  // namespace tessaly::gui
