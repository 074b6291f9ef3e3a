#include "viewer/data_list_dlg.h"

#include "settings/recorder_data.h"

namespace tessaly::gui {

CDataListDlg::CDataListDlg(settings::CRecorderData& data, FillProgressSink* progress, QWidget* parent)
    : QWidget(parent), data_(data), progress_(progress) {}

void CDataListDlg::FillList() {}

}  // namespace tessaly::gui
