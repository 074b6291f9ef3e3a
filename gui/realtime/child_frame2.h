#pragma once
// The real-time page: the chart (80 %) and the control panel (20 %) side by
// side in a splitter. The page owns the acquisition (flags, store, worker);
// the worker reaches the chart, the log and the panel through a bridge to the
// UI thread, and the page stops and joins it before anything of it goes.
#include <QWidget>
#include <memory>
#include <string>

#include "app/command_ids.h"
#include "realtime/acquisition.h"

namespace tessaly::recorder {
struct CRecorderData;
}

namespace tessaly::gui {

class CMainFrame;
class CRealtimeSetDlg;
class CTChart;
class RealtimeBridge;
class SplitterCtrl;

class CChildFrame2 : public QWidget, public realtime::AcquisitionPage {
  Q_OBJECT
 public:
  explicit CChildFrame2(CMainFrame& mainFrame, QWidget* parent = nullptr);
  ~CChildFrame2() override;

  // Runs a command of the page's menu; false for commands it does not handle.
  bool OnCommand(Command command);
  // What Open Data File does with a chosen file: the store and the chart
  // take its records.
  void OpenDataFile(const QString& path);

  // Ends a running worker and waits for it; the store keeps its records.
  void StopAcquisition();
  bool IsClosed() const { return closed_; }

  CTChart* chart() const { return chart_; }
  CRealtimeSetDlg* panel() const { return panel_; }
  SplitterCtrl* splitter() const { return splitter_; }
  realtime::Acquisition& acquisition() const { return *acquisition_; }

  // The page as the worker and the panel's actions see it, on the UI thread.
  void AddPoint(int series, double value, const std::string& label, uint32_t color) override;
  void ClearSeries(int series) override;
  int PageCount() override;
  void SetCurrentPage(int page) override;
  bool AutoFollow() override;
  realtime::CommLog* Log() override;
  void ShowMessage(const std::string& utf8Text) override;
  std::string SavePath() override;
  void SetSavePath(const std::string& path, bool showInField) override;
  std::string ReceiveFolder() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void InitialiseChart();

  CMainFrame& main_;
  recorder::CRecorderData& data_;
  SplitterCtrl* splitter_;
  CTChart* chart_;
  CRealtimeSetDlg* panel_;
  std::unique_ptr<RealtimeBridge> bridge_;
  std::unique_ptr<realtime::Acquisition> acquisition_;
  bool closed_ = false;
};

}  // namespace tessaly::gui
