#pragma once
// The list page of the record viewer ("数据列表" / "Record List"): every n-th
// sample of the SampleBuffer as a row of index, time and channel values.
#include <QWidget>

#include "viewer/fill_progress.h"

namespace tessaly::recorder {
struct CRecorderData;
}

namespace tessaly::gui {

class CGridCtrl;

class CDataListDlg : public QWidget {
  Q_OBJECT
 public:
  // More sample rows than this and the list is cut: the grid gets this many
  // rows, the heading row included.
  static constexpr int kRowCap = 65535;
  static constexpr int kColumns = 20;

  CDataListDlg(recorder::CRecorderData& data, FillProgressSink* progress, QWidget* parent = nullptr);

  // Fills the list from the SampleBuffer at the list point interval
  // (computed first when the interval is automatic).
  void FillList();
  // Nothing loaded: no rows, no headings.
  void Clear();

  CGridCtrl& Grid() { return *grid_; }

 private:
  recorder::CRecorderData& data_;
  FillProgressSink* progress_;
  CGridCtrl* grid_;
};

}  // namespace tessaly::gui
