#pragma once
// The graph page of the record viewer ("历史曲线" / "History Curve").
#include <QWidget>
#include <functional>

#include "viewer/fill_progress.h"

namespace tessaly::settings {
struct CRecorderData;
}

namespace tessaly::gui {

class CDataGraphDlg : public QWidget {
  Q_OBJECT
 public:
  CDataGraphDlg(settings::CRecorderData& data, FillProgressSink* progress, QWidget* parent = nullptr);

  void FillAllGraph();
  void FillPartGraph();

  // What a band drag redraws: the part graph of the newest open viewer. The
  // viewer frame routes it; by default this page's own part graph.
  std::function<void()> redrawPartGraph;

 private:
  settings::CRecorderData& data_;
  FillProgressSink* progress_;
};

}  // namespace tessaly::gui
