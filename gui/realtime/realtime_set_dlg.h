#pragma once
// The control panel of a real-time page: serial settings, start and stop,
// the communication log, chart paging, saves, data files and exports. Every
// control carries its id as object name; the serial fields write their
// settings as soon as they change.
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <string>

#include "base/texts.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace tessaly::recorder {
struct CRecorderData;
}

namespace tessaly::gui {

class CChildFrame2;
class CIHListBox;
class CMainFrame;
class SpinButtons;

class CRealtimeSetDlg : public QWidget {
  Q_OBJECT
 public:
  // Control ids.
  enum : int {
    kPortList = 1006,
    kBaudList = 1007,
    kParityList = 1008,
    kAddressField = 1009,
    kAddressSpin = 1052,
    kIntervalField = 1064,
    kIntervalSpin = 1065,
    kChannelCountField = 1074,
    kChannelCountSpin = 1073,
    kStart = 1054,
    kStop = 1055,
    kLog = 1047,
    kClearList = 1066,
    kPointsPerPageField = 1010,
    kSetPointsPerPage = 1069,
    kPreviousPage = 1044,
    kNextPage = 1013,
    kAutoFollow = 1070,
    kPathField = 1059,
    kBrowse = 1058,
    kAutoSave = 1063,
    kAutoSaveField = 1062,
    kAutoSaveSpin = 1057,
    kManualSave = 1061,
    kClearData = 1067,
    kOpenDataFile = 1060,
    kExportExcel = 1071,
    kExportCsv = 1072,
  };

  CRealtimeSetDlg(CMainFrame& mainFrame, CChildFrame2& page, QWidget* parent);

  void OnStart();
  void OnStop();
  void OnBrowse();
  void OnManualSave();
  void OnAutoSave();
  void OnTimer();
  void OnOpenDataFile();
  void OnClearData();
  void OnExport(bool workbook);
  // Reads the .DT file at `path` into the store and the chart.
  void OpenDataPath(const QString& path);
  void StopAutoSave();

  bool AutoFollow() const;
  CIHListBox* log() const { return log_; }
  const std::string& savePath() const { return savePath_; }
  void SetSavePath(const std::string& path, bool showInField);
  const std::string& receiveFolder() const { return receiveFolder_; }
  // The auto-save period in force, 0 while none runs.
  int64_t autoSavePeriodMs() const { return autoSaveTimer_.isActive() ? autoSavePeriodMs_ : 0; }

 private:
  QString Text(base::TextId id) const;
  void BuildControls();
  void ConnectControls();
  void Initialise();
  // The ten controls of the serial settings, the path and the channel count.
  void SetAcquisitionControlsEnabled(bool enabled);
  // Periods up to 30 days exceed what one timer interval holds: the timer
  // runs in steps towards the next save.
  void ArmAutoSave();
  void OnAutoSaveStep();

  CMainFrame& main_;
  CChildFrame2& page_;
  recorder::CRecorderData& data_;
  std::string savePath_;
  std::string receiveFolder_;
  QTimer autoSaveTimer_;
  int64_t autoSavePeriodMs_ = 0;
  std::chrono::steady_clock::time_point nextAutoSave_;

  QComboBox* portList_;
  QComboBox* baudList_;
  QComboBox* parityList_;
  QLineEdit* addressField_;
  SpinButtons* addressSpin_;
  QLineEdit* intervalField_;
  SpinButtons* intervalSpin_;
  QLineEdit* channelCountField_;
  SpinButtons* channelCountSpin_;
  CIHListBox* log_;
  QLineEdit* pointsPerPageField_;
  QCheckBox* autoFollow_;
  QLineEdit* pathField_;
  QCheckBox* autoSave_;
  QLineEdit* autoSaveField_;
  SpinButtons* autoSaveSpin_;
};

}  // namespace tessaly::gui
