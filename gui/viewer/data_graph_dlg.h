#pragma once
// The graph page of the record viewer ("历史曲线" / "History Curve"): the all
// graph over the whole loaded page with the window band, the part graph over
// the part window with its legend and cursor, and the floating info panel
// with the values under the cursor.
#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "analysis/graph_fill.h"
#include "viewer/fill_progress.h"

namespace tessaly::gui {

class CTChart;
class CMyButton;
class CCursorPanel;
class PartGraphCursors;

class CDataGraphDlg : public QWidget {
  Q_OBJECT
 public:
  CDataGraphDlg(recorder::CRecorderData& data, FillProgressSink* progress, QWidget* parent = nullptr);

  void FillAllGraph();
  void FillPartGraph();
  // Nothing loaded: no curves, no window band, no device title, no read-out.
  void Clear();

  // What a band drag redraws: the part graph of the newest open viewer. The
  // viewer frame routes it; by default this page's own part graph.
  std::function<void()> redrawPartGraph;

  CTChart& AllGraph() { return *allGraph_; }
  CTChart& PartGraph() { return *partGraph_; }
  CMyButton& InfoPanel() { return *infoPanel_; }
  PartGraphCursors& Cursors() { return *cursors_; }
  CCursorPanel& CursorPanel() { return *cursorPanel_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void InitialiseCharts();
  void LayoutPartRow();
  void ApplyLeftAxis(CTChart& chart);
  void PrepareSeries(CTChart& chart);
  bool DrawChannels(CTChart& chart, const analysis::PointRun& run, uint32_t interval, analysis::GraphKind graph);
  void AddChannelPoints(CTChart& chart, int channel, const analysis::PointRun& run, uint32_t interval,
                        analysis::GraphKind graph, const std::vector<record::RecordTime>& times);
  std::vector<record::RecordTime> PointTimes(const analysis::PointRun& run, uint32_t interval) const;
  void Progress(unsigned step);

  void MovePartWindow();
  void ShowCursorValues(int x);
  std::string ReadOutName(int channel) const;
  void ToggleLegendChannel(int x, int y);
  void MoveInfoPanel();

  recorder::CRecorderData& data_;
  FillProgressSink* progress_;
  CTChart* allGraph_;
  CTChart* partGraph_;
  CMyButton* infoPanel_;
  CCursorPanel* cursorPanel_;
  PartGraphCursors* cursors_;
};

}  // namespace tessaly::gui
