#include "viewer/my_form_view.h"

#include <QVBoxLayout>

#include "base/texts.h"
#include "recorder/recorder_data.h"
#include "viewer/data_graph_dlg.h"
#include "viewer/data_list_dlg.h"
#include "viewer/my_tab_ctrl.h"

namespace tessaly::gui {

CMyFormView::CMyFormView(recorder::CRecorderData& data, FillProgressSink* progress, QWidget* parent)
    : QWidget(parent),
      tabCtrl_(new CMyTabCtrl(this)),
      graphPage_(new CDataGraphDlg(data, progress)),
      listPage_(new CDataListDlg(data, progress)) {
  setObjectName(QStringLiteral("formView"));
  graphPage_->setObjectName(QStringLiteral("graphPage"));
  listPage_->setObjectName(QStringLiteral("listPage"));
  tabCtrl_->addTab(graphPage_, QString::fromUtf8(base::Text(base::TextId::TabHistoryCurve, data.language)));
  tabCtrl_->addTab(listPage_, QString::fromUtf8(base::Text(base::TextId::TabRecordList, data.language)));
  tabCtrl_->setCurrentIndex(0);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tabCtrl_);
}

}  // namespace tessaly::gui
