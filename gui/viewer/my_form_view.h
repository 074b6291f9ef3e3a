#pragma once
// The tabbed area of the record viewer: the graph page ("历史曲线" / "History
// Curve") and the list page ("数据列表" / "Record List"), graph page first.
// The pages fill the tab control's page area.
#include <QWidget>

namespace tessaly::recorder {
struct CRecorderData;
}

namespace tessaly::gui {

class CDataGraphDlg;
class CDataListDlg;
class CMyTabCtrl;
class FillProgressSink;

class CMyFormView : public QWidget {
  Q_OBJECT
 public:
  CMyFormView(recorder::CRecorderData& data, FillProgressSink* progress, QWidget* parent);

  CMyTabCtrl* tabCtrl() const { return tabCtrl_; }
  CDataGraphDlg* graphPage() const { return graphPage_; }
  CDataListDlg* listPage() const { return listPage_; }

 private:
  CMyTabCtrl* tabCtrl_;
  CDataGraphDlg* graphPage_;
  CDataListDlg* listPage_;
};

}  // namespace tessaly::gui
