#include "realtime/child_frame2.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QScrollArea>

#include "app/main_frame.h"
#include "app/prompt_service.h"
#include "base/format.h"
#include "chart/ct_chart.h"
#include "realtime/ih_list_box.h"
#include "realtime/realtime_bridge.h"
#include "realtime/realtime_set_dlg.h"
#include "recorder/recorder_data.h"
#include "widgets/splitter_ctrl.h"

namespace tessaly::gui {

using base::TextId;

namespace {

constexpr uint32_t kPanelColour = 0xC0C0C0;  // light grey
constexpr int kPointsPerPage = 500;

}  // namespace

CChildFrame2::CChildFrame2(CMainFrame& mainFrame, QWidget* parent)
    : QWidget(parent),
      main_(mainFrame),
      data_(mainFrame.data()),
      splitter_(new SplitterCtrl(this)),
      chart_(new CTChart(splitter_)),
      bridge_(std::make_unique<RealtimeBridge>(*this)),
      acquisition_(std::make_unique<realtime::Acquisition>(*bridge_)) {
  setObjectName(QStringLiteral("realtimePage"));
  splitter_->setObjectName(QStringLiteral("splitter"));
  chart_->setObjectName(QStringLiteral("chart"));
  // The panel scrolls when the page is too low for all of its controls.
  auto* scroll = new QScrollArea(splitter_);
  scroll->setObjectName(QStringLiteral("panelScroll"));
  scroll->setWidgetResizable(true);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  panel_ = new CRealtimeSetDlg(mainFrame, *this, scroll);
  scroll->setWidget(panel_);

  splitter_->SetColumnShares({80, 20});
  splitter_->SetPane(0, chart_);
  splitter_->SetPane(1, scroll);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter_);
  InitialiseChart();
}

CChildFrame2::~CChildFrame2() { StopAcquisition(); }

void CChildFrame2::InitialiseChart() {
  chart_->SetPanelColour(kPanelColour);
  chart_->SetAxisTitle(ChartAxis::Bottom, QString());
  chart_->SetAxisTitle(ChartAxis::Left, QString());
  chart_->SetLegendVisible(false);
  chart_->SetGridVisible(ChartAxis::Left, true);
  chart_->SetGridVisible(ChartAxis::Bottom, true);
  chart_->SetLeftAxisAutomatic(true);
  chart_->SetLegendVisible(true);
  chart_->SetLegendCheckBoxes(true);
  chart_->SetPointsPerPage(kPointsPerPage);
  for (int i = 0; i < realtime::kRecordChannels; ++i)
    chart_->SetSeriesTitle(chart_->AddLineSeries(),
                           QString::fromStdString(base::FormatText(base::Text(TextId::GraphSeriesTitle, 0), i + 1)));
}

bool CChildFrame2::OnCommand(Command command) {
  if (command != Command::FileClose) return false;
  if (auto* subWindow = qobject_cast<QMdiSubWindow*>(parentWidget()))
    subWindow->close();
  else
    close();
  return true;
}

void CChildFrame2::OpenDataFile(const QString& path) { panel_->OpenDataPath(path); }

void CChildFrame2::StopAcquisition() {
  // The worker may be waiting for this thread: release it before joining.
  bridge_->Close();
  acquisition_->Interrupt();
  acquisition_->Join();
}

void CChildFrame2::closeEvent(QCloseEvent* event) {
  StopAcquisition();
  panel_->StopAutoSave();
  closed_ = true;
  event->accept();
}

void CChildFrame2::AddPoint(int series, double value, const std::string& label, uint32_t color) {
  chart_->AddPoint(series, value, QString::fromStdString(label), color);
}

void CChildFrame2::ClearSeries(int series) { chart_->RemoveAllPoints(series); }

int CChildFrame2::PageCount() { return chart_->PageCount(); }

void CChildFrame2::SetCurrentPage(int page) { chart_->SetCurrentPage(page); }

bool CChildFrame2::AutoFollow() { return panel_->AutoFollow(); }

realtime::CommLog* CChildFrame2::Log() { return panel_->log(); }

void CChildFrame2::ShowMessage(const std::string& utf8Text) { main_.prompts().ShowMessage(utf8Text); }

std::string CChildFrame2::SavePath() { return panel_->savePath(); }

void CChildFrame2::SetSavePath(const std::string& path, bool showInField) { panel_->SetSavePath(path, showInField); }

std::string CChildFrame2::ReceiveFolder() { return panel_->receiveFolder(); }

}  // namespace tessaly::gui
