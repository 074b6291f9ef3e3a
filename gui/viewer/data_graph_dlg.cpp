#include "viewer/data_graph_dlg.h"

#include <QResizeEvent>
#include <algorithm>

#include "base/format.h"
#include "base/texts.h"
#include "chart/ct_chart.h"
#include "recorder/recorder_data.h"
#include "viewer/cursor_panel.h"
#include "viewer/my_button.h"
#include "viewer/part_graph_cursors.h"

namespace tessaly::gui {
namespace {

using analysis::GraphKind;
using base::TextId;

constexpr int kAllGraphHeight = 145;
constexpr int kPartGraphTop = 150;
constexpr QPoint kInfoPanelHome(40, 173);
constexpr QSize kInfoPanelSize(300, 320);
constexpr int kInfoPanelRightGap = 400;  // from the page's right edge when moved aside
constexpr unsigned kProgressSteps = settings::kChannels;
constexpr uint32_t kMinorGridColour = 0xD3D3D3;  // light grey

QString UiText(TextId id, int language) { return QString::fromUtf8(base::Text(id, language)); }

// The progress display paints at once while a fill runs, and with it every
// widget of the window that waits for a paint: a chart being filled would be
// drawn after each channel's points. It waits for the end of the fill.
class PaintHeld {
 public:
  // A widget whose updates are off already (its window's, say) is left alone:
  // turning them off on the widget itself would outlast the window's.
  explicit PaintHeld(QWidget& widget) : widget_(widget), held_(widget.updatesEnabled()) {
    if (held_) widget_.setUpdatesEnabled(false);
  }
  ~PaintHeld() {
    if (held_) widget_.setUpdatesEnabled(true);
  }
  PaintHeld(const PaintHeld&) = delete;
  PaintHeld& operator=(const PaintHeld&) = delete;

 private:
  QWidget& widget_;
  const bool held_;
};

}  // namespace

CDataGraphDlg::CDataGraphDlg(recorder::CRecorderData& data, FillProgressSink* progress, QWidget* parent)
    : QWidget(parent),
      data_(data),
      progress_(progress),
      allGraph_(new CTChart(this)),
      partGraph_(new CTChart(this)),
      infoPanel_(new CMyButton(data, this)),
      cursorPanel_(new CCursorPanel(data.language, this)),
      cursors_(new PartGraphCursors(data, *partGraph_, *cursorPanel_, this)) {
  redrawPartGraph = [this] { FillPartGraph(); };
  InitialiseCharts();
  cursorPanel_->hide();
  connect(cursorPanel_, &CCursorPanel::layoutChanged, this, [this] { LayoutPartRow(); });
  connect(allGraph_, &CTChart::mouseReleased, this, [this] { MovePartWindow(); });
  connect(partGraph_, &CTChart::mouseMoved, this, [this](int, int x, int) {
    if (data_.showCursor == 1) ShowCursorValues(x);
  });
  connect(partGraph_, &CTChart::legendClicked, this, [this](int, int, int x, int y) { ToggleLegendChannel(x, y); });
  connect(infoPanel_, &CMyButton::clicked, this, [this] { MoveInfoPanel(); });
}

void CDataGraphDlg::InitialiseCharts() {
  for (CTChart* chart : {allGraph_, partGraph_}) {
    chart->SetPanelColour(data_.backColor);
    chart->SetAxisTitle(ChartAxis::Left, QString());
    chart->SetAxisTitle(ChartAxis::Bottom, QString());
    chart->SetGridVisible(ChartAxis::Left, false);
    chart->SetGridVisible(ChartAxis::Bottom, false);
    chart->SetLeftAxisAutomatic(false);
  }
  allGraph_->SetTitleText(UiText(TextId::AllGraphTitle, data_.language));
  allGraph_->SetLegendVisible(false);
  data_.bandTool = allGraph_->AddTool(ChartTool::Band);
  allGraph_->SetToolActive(data_.bandTool, false);

  partGraph_->SetTitleText(UiText(TextId::PartGraphTitle, data_.language));
  partGraph_->SetGridColour(ChartAxis::Left, 0);
  partGraph_->SetGridColour(ChartAxis::Bottom, 0);
  partGraph_->SetMinorGrid(ChartAxis::Bottom, 9, kMinorGridColour);
  partGraph_->SetMinorGrid(ChartAxis::Left, 4, kMinorGridColour);
  partGraph_->SetBottomLabelIncrement(59);
  partGraph_->SetLegendVisible(true);
  partGraph_->SetLegendCheckBoxes(true);
  data_.cursorTool = partGraph_->AddTool(ChartTool::Cursor);
  partGraph_->SetCursorLinesVisible(data_.cursorTool, false);

  for (int i = 0; i < settings::kChannels; ++i) {
    allGraph_->AddLineSeries();
    partGraph_->SetSeriesTitle(partGraph_->AddLineSeries(), QString::fromStdString(base::FormatText(
                                                                base::Text(TextId::GraphSeriesTitle, 0), i + 1)));
  }
  infoPanel_->setGeometry(QRect(kInfoPanelHome, kInfoPanelSize));
}

void CDataGraphDlg::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  allGraph_->setGeometry(0, 0, width(), kAllGraphHeight);
  LayoutPartRow();
  infoPanel_->setGeometry(QRect(kInfoPanelHome, kInfoPanelSize));
  infoPanel_->raise();
}

// The cursor panel, while shown, takes its width from the part graph's right.
void CDataGraphDlg::LayoutPartRow() {
  const int panel = cursorPanel_->isVisibleTo(this) ? std::min(cursorPanel_->RequestedWidth(), width() / 2) : 0;
  partGraph_->setGeometry(0, kPartGraphTop, width() - panel, height() - kPartGraphTop);
  cursorPanel_->setGeometry(width() - panel, kPartGraphTop, panel, height() - kPartGraphTop);
}

// The left axis scales itself only with autoRange and not in percentage mode.
void CDataGraphDlg::ApplyLeftAxis(CTChart& chart) {
  if (data_.autoRange == 1)
    chart.SetLeftAxisAutomatic(true);
  else
    chart.SetLeftAxisRange(data_.yRangeMin, data_.yRangeMax);
  if (data_.yAxisMode == 0) chart.SetLeftAxisRange(data_.yRangeMin, data_.yRangeMax);
}

void CDataGraphDlg::PrepareSeries(CTChart& chart) {
  for (int k = 0; k < settings::kChannels; ++k) {
    const settings::ChannelInfo& channel = data_.channels[k];
    chart.RemoveAllPoints(k);
    chart.SetSeriesPenWidth(k, channel.lineWidth);
    chart.SetSeriesShown(k, channel.shown == 1);
    chart.SetSeriesColour(k, channel.color);
  }
}

// The points' sample times, shared by every channel: the chart keeps them and
// makes a point's text only when it shows or reads it out.
std::vector<record::RecordTime> CDataGraphDlg::PointTimes(const analysis::PointRun& run, uint32_t interval) const {
  std::vector<record::RecordTime> times;
  times.reserve(run.end - run.first);
  for (uint32_t v = run.first; v < run.end; ++v) times.push_back(data_.samples.TimeAt(size_t{v} * interval));
  return times;
}

void CDataGraphDlg::AddChannelPoints(CTChart& chart, int channel, const analysis::PointRun& run, uint32_t interval,
                                     GraphKind graph, const std::vector<record::RecordTime>& times) {
  const uint32_t colour = data_.channels[channel].color;
  chart.ReservePoints(channel, static_cast<int>(run.end - run.first));
  for (uint32_t v = run.first; v < run.end; ++v) {
    const float value = data_.samples.ValueAt(size_t{v} * interval, channel);
    const analysis::PlotPoint point = analysis::PlotValue(data_, channel, value, graph);
    const record::RecordTime& time = times[v - run.first];
    if (point.kind == analysis::PlotPoint::Kind::Normal)
      chart.AddPoint(channel, point.value, time, colour);
    else if (point.kind == analysis::PlotPoint::Kind::Empty)
      chart.AddEmptyPoint(channel, time);
  }
}

// The points of every shown channel, each followed by its progress step.
// False when the run reached the point limit, which ends the whole fill.
bool CDataGraphDlg::DrawChannels(CTChart& chart, const analysis::PointRun& run, uint32_t interval, GraphKind graph) {
  const std::vector<record::RecordTime> times = PointTimes(run, interval);
  for (int k = 0; k < settings::kChannels; ++k) {
    if (data_.channels[k].shown != 1) continue;
    AddChannelPoints(chart, k, run, interval, graph, times);
    if (run.stopped) return false;
    Progress(static_cast<unsigned>(k));
  }
  return true;
}

void CDataGraphDlg::Progress(unsigned step) {
  if (progress_) progress_->ReportFillProgress(step, kProgressSteps);
}

void CDataGraphDlg::FillAllGraph() {
  const PaintHeld held(*allGraph_);
  const PaintHeld partHeld(*partGraph_);  // the part window moves: it waits for its own fill
  cursors_->Clear();                      // their samples belong to the previous load
  const uint32_t points = analysis::SetAllGraphInterval(data_);
  allGraph_->SetPanelColour(data_.backColor);
  ApplyLeftAxis(*allGraph_);
  PrepareSeries(*allGraph_);
  if (!DrawChannels(*allGraph_, analysis::AllGraphPoints(points), static_cast<uint32_t>(data_.allGraphInterval),
                    GraphKind::All))
    return;
  Progress(kProgressSteps - 1);
  const analysis::WindowBand band = analysis::PlaceWindowBand(data_, points);
  allGraph_->SetToolActive(data_.bandTool, true);
  allGraph_->SetBandStart(data_.bandTool, band.low);
  allGraph_->SetBandEnd(data_.bandTool, band.high);
}

void CDataGraphDlg::Clear() {
  cursors_->Clear();
  for (CTChart* chart : {allGraph_, partGraph_})
    for (int k = 0; k < settings::kChannels; ++k) chart->RemoveAllPoints(k);
  allGraph_->SetToolActive(data_.bandTool, false);
  partGraph_->SetTitleText(UiText(TextId::PartGraphTitle, data_.language));
  infoPanel_->SetLines({});
}

void CDataGraphDlg::FillPartGraph() {
  const PaintHeld held(*partGraph_);
  cursors_->Follow();
  const analysis::PointRun run = analysis::PartGraphPoints(data_);
  QString title = QString::fromStdString(
      base::FormatText(base::Text(TextId::PartGraphDeviceTitle, data_.language), settings::DeviceName(data_).c_str()));
  // A part window beyond the point limit draws little or nothing: say why.
  if (run.stopped) title += QStringLiteral("    ") + UiText(TextId::PartGraphPointLimit, data_.language);
  partGraph_->SetTitleText(title);
  // The points under the mouse are others now; the read-out waits for it to move.
  infoPanel_->SetLines({});
  if (data_.showCursor == 0 || data_.showCursor == 1) {
    infoPanel_->setVisible(data_.showCursor == 1);
    partGraph_->SetCursorLinesVisible(data_.cursorTool, data_.showCursor == 1);
  }
  for (ChartAxis axis : {ChartAxis::Left, ChartAxis::Bottom}) {
    partGraph_->SetGridVisible(axis, data_.showGrid != 0);
    partGraph_->SetGridColour(axis, data_.gridColor);
  }
  partGraph_->SetPanelColour(data_.backColor);
  ApplyLeftAxis(*partGraph_);
  PrepareSeries(*partGraph_);
  if (!DrawChannels(*partGraph_, run, analysis::PartInterval(data_), GraphKind::Part)) return;
  Progress(kProgressSteps - 1);
}

void CDataGraphDlg::MovePartWindow() {
  uint8_t idle = 1;
  if (!data_.idle.compare_exchange_strong(idle, 0)) {
    data_.ShowMessage(base::Text(TextId::GraphBusy, data_.language));
    return;
  }
  analysis::MovePartWindow(data_, allGraph_->BandStart(data_.bandTool), allGraph_->BandEnd(data_.bandTool));
  if (redrawPartGraph) redrawPartGraph();
  data_.idle = 1;
}

// Where no point lies under the mouse the panel shows nothing.
void CDataGraphDlg::ShowCursorValues(int x) {
  QStringList lines;
  int first = 0;
  while (first < settings::kChannels && data_.channels[first].shown != 1) ++first;
  int i = 0;
  if (first < settings::kChannels) {
    const auto at = static_cast<float>(partGraph_->XValueAtPixel(first, x));
    if (!(at > -1.0f && at < static_cast<float>(partGraph_->PointCount(first)))) {
      infoPanel_->SetLines({});
      return;
    }
    i = static_cast<int>(at);
    lines << QString::fromStdString(base::FormatText(base::Text(TextId::CursorTime, data_.language),
                                                     partGraph_->PointLabel(first, i).toStdString().c_str()));
  }
  // A gap in a curve (a marker value) has no value to show.
  for (int j = 0; j < settings::kChannels; ++j) {
    const bool value = data_.channels[j].shown == 1 && i < partGraph_->PointCount(j) && !partGraph_->IsEmptyPoint(j, i);
    lines << (value ? QString::fromStdString(base::FormatText(base::Text(TextId::CursorValue, data_.language),
                                                              ReadOutName(j).c_str(), partGraph_->PointValue(j, i)))
                    : QString());
  }
  infoPanel_->SetLines(lines);
}

// The chart's check box has already shown or hidden the series. A channel
// that was hidden at the last fill has no points yet: it gets them now, so
// that checking it shows its curve.
// A channel the record file leaves nameless goes by its default name.
std::string CDataGraphDlg::ReadOutName(int channel) const {
  const std::string name = settings::ChannelName(data_.channels[channel]);
  return name.empty() ? base::FormatText(base::Text(TextId::DefaultChannelName, data_.language), channel + 1) : name;
}

void CDataGraphDlg::ToggleLegendChannel(int x, int y) {
  const int entry = partGraph_->LegendEntryAt(x, y);
  if (entry < 0 || entry >= settings::kChannels) return;
  data_.SetUserShown(entry, data_.UserShown(entry) == 1 ? 0 : 1);
  const settings::ChannelInfo& channel = data_.channels[entry];
  // A channel the open file does not record stays hidden; its check box says so.
  partGraph_->SetSeriesShown(entry, channel.shown == 1);
  if (channel.shown == 1 && partGraph_->PointCount(entry) == 0) {
    const analysis::PointRun run = analysis::PartGraphPoints(data_);
    const uint32_t interval = analysis::PartInterval(data_);
    AddChannelPoints(*partGraph_, entry, run, interval, GraphKind::Part, PointTimes(run, interval));
  }
  infoPanel_->update();
  cursors_->Follow();
}

void CDataGraphDlg::MoveInfoPanel() {
  const int x = infoPanel_->x() == kInfoPanelHome.x() ? width() - kInfoPanelRightGap : kInfoPanelHome.x();
  infoPanel_->move(x, kInfoPanelHome.y());
  infoPanel_->update();
}

}  // namespace tessaly::gui
