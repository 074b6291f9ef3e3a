#pragma once
// The list page of the record viewer ("数据列表" / "Record List").
#include <QWidget>

#include "viewer/fill_progress.h"

namespace tessaly::settings {
struct CRecorderData;
}

namespace tessaly::gui {

class CDataListDlg : public QWidget {
  Q_OBJECT
 public:
  CDataListDlg(settings::CRecorderData& data, FillProgressSink* progress, QWidget* parent = nullptr);

  // Fills the list from the SampleBuffer at the list point interval.
  void FillList();

 private:
  settings::CRecorderData& data_;
  FillProgressSink* progress_;
};

}  // namespace tessaly::gui
