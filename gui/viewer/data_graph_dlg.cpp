#include "viewer/data_graph_dlg.h"

#include "settings/recorder_data.h"

namespace tessaly::gui {

CDataGraphDlg::CDataGraphDlg(settings::CRecorderData& data, FillProgressSink* progress, QWidget* parent)
    : QWidget(parent), data_(data), progress_(progress) {
  redrawPartGraph = [this] { FillPartGraph(); };
}

void CDataGraphDlg::FillAllGraph() {}

void CDataGraphDlg::FillPartGraph() {}

}  // namespace tessaly::gui
