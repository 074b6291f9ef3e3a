#include "realtime/realtime_set_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "app/main_frame.h"
#include "app/prompt_service.h"
#include "base/format.h"
#include "base/number_text.h"
#include "chart/ct_chart.h"
#include "output/realtime_export.h"
#include "realtime/child_frame2.h"
#include "realtime/data_file.h"
#include "realtime/ih_list_box.h"
#include "realtime/page_actions.h"
#include "recorder/recorder_data.h"
#include "widgets/spin_buttons.h"
#include "widgets/ui_text.h"

namespace tessaly::gui {

using base::TextId;

namespace {

constexpr int kPortCount = 99;
constexpr int kMaxAddress = 99;
constexpr int kMaxIntervalSeconds = 3600;
constexpr int kDefaultAutoSaveSeconds = 60;
constexpr int kDefaultPointsPerPage = 500;

// The decimal number a field holds, read as far as it reads as one.
int64_t FieldValue(const QLineEdit* field) { return base::LeadingInteger(field->text().toStdString()); }

int ClampToInt(int64_t value, int64_t low, int64_t high) { return static_cast<int>(std::clamp(value, low, high)); }

}  // namespace

CRealtimeSetDlg::CRealtimeSetDlg(CMainFrame& mainFrame, CChildFrame2& page, QWidget* parent)
    : QWidget(parent), main_(mainFrame), page_(page), data_(mainFrame.data()) {
  setObjectName(QStringLiteral("1502"));
  receiveFolder_ = realtime::DefaultReceiveFolder();
  savePath_ = receiveFolder_ + base::Text(TextId::RealtimeTempFile, data_.language);
  BuildControls();
  ConnectControls();
  Initialise();
}

QString CRealtimeSetDlg::Text(TextId id) const { return UiText(id, data_.language); }

void CRealtimeSetDlg::BuildControls() {
  const auto field = [this](int id) { return WithControlId(new QLineEdit(this), id); };
  const auto spin = [this](QLineEdit* buddy, int id) { return WithControlId(new SpinButtons(buddy, this), id); };
  portList_ = WithControlId(new QComboBox(this), kPortList);
  baudList_ = WithControlId(new QComboBox(this), kBaudList);
  parityList_ = WithControlId(new QComboBox(this), kParityList);
  addressField_ = field(kAddressField);
  addressSpin_ = spin(addressField_, kAddressSpin);
  intervalField_ = field(kIntervalField);
  intervalSpin_ = spin(intervalField_, kIntervalSpin);
  channelCountField_ = field(kChannelCountField);
  channelCountSpin_ = spin(channelCountField_, kChannelCountSpin);
  log_ = WithControlId(new CIHListBox(this), kLog);
  pointsPerPageField_ = field(kPointsPerPageField);
  autoFollow_ = WithControlId(new QCheckBox(Text(TextId::RealtimeAutoShowLast), this), kAutoFollow);
  pathField_ = field(kPathField);
  autoSave_ = WithControlId(new QCheckBox(Text(TextId::RealtimeAutoSave), this), kAutoSave);
  autoSaveField_ = field(kAutoSaveField);
  autoSaveSpin_ = spin(autoSaveField_, kAutoSaveSpin);

  for (QComboBox* list : {portList_, baudList_, parityList_}) {
    // Typing is allowed; only a change of selection counts.
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
  }
  addressField_->setReadOnly(true);
  channelCountField_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), this));

  const auto button = [this](int id, TextId text) { return WithControlId(new QPushButton(Text(text), this), id); };
  const auto label = [this](TextId text) { return new QLabel(Text(text), this); };
  const auto pair = [](QWidget* left, QWidget* right) {
    auto* row = new QHBoxLayout;
    row->addWidget(left);
    row->addWidget(right);
    return row;
  };

  auto* settingsGrid = new QGridLayout;
  int row = 0;
  const auto addRow = [&](TextId text, QWidget* control, QWidget* spinButtons = nullptr, bool seconds = false) {
    settingsGrid->addWidget(label(text), row, 0);
    settingsGrid->addWidget(control, row, 1);
    if (spinButtons) settingsGrid->addWidget(spinButtons, row, 2);
    if (seconds) settingsGrid->addWidget(label(TextId::RealtimeSecondsUnit), row, 3);
    ++row;
  };
  addRow(TextId::RealtimePortLabel, portList_);
  addRow(TextId::RealtimeBaudLabel, baudList_);
  addRow(TextId::RealtimeParityLabel, parityList_);
  addRow(TextId::RealtimeAddressLabel, addressField_, addressSpin_);
  addRow(TextId::RealtimeIntervalLabel, intervalField_, intervalSpin_, true);
  addRow(TextId::RealtimeChannelCountLabel, channelCountField_, channelCountSpin_);
  settingsGrid->setColumnStretch(1, 1);

  auto* pagingRow = new QHBoxLayout;
  pagingRow->addWidget(label(TextId::RealtimeCountPerPage));
  pagingRow->addWidget(pointsPerPageField_, 1);
  pagingRow->addWidget(button(kSetPointsPerPage, TextId::RealtimeSet));

  auto* autoSaveRow = new QHBoxLayout;
  autoSaveRow->addWidget(label(TextId::RealtimeAutoSaveInterval));
  autoSaveRow->addWidget(autoSaveField_, 1);
  autoSaveRow->addWidget(autoSaveSpin_);
  autoSaveRow->addWidget(label(TextId::RealtimeSecondsUnit));

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(settingsGrid);
  layout->addLayout(pair(button(kStart, TextId::RealtimeStart), button(kStop, TextId::RealtimeStop)));
  layout->addWidget(log_, 1);
  layout->addWidget(button(kClearList, TextId::RealtimeClearList));
  layout->addLayout(pagingRow);
  layout->addLayout(pair(button(kPreviousPage, TextId::RealtimePrevious), button(kNextPage, TextId::RealtimeNext)));
  layout->addWidget(autoFollow_);
  layout->addWidget(label(TextId::RealtimeFileNameOfData));
  layout->addWidget(pathField_);
  layout->addWidget(button(kBrowse, TextId::RealtimeBrowse));
  layout->addWidget(autoSave_);
  layout->addLayout(autoSaveRow);
  layout->addLayout(
      pair(button(kManualSave, TextId::RealtimeManualSave), button(kClearData, TextId::RealtimeClearData)));
  layout->addWidget(button(kOpenDataFile, TextId::RealtimeOpenDataFile));
  layout->addLayout(
      pair(button(kExportExcel, TextId::RealtimeExportExcel), button(kExportCsv, TextId::RealtimeExportCsv)));
  log_->setMinimumHeight(120);
}

void CRealtimeSetDlg::ConnectControls() {
  connect(portList_, &QComboBox::currentIndexChanged, this, [this](int i) { data_.comPort = i + 1; });
  connect(baudList_, &QComboBox::currentIndexChanged, this, [this](int i) { data_.baudIndex = i; });
  connect(parityList_, &QComboBox::currentIndexChanged, this, [this](int i) { data_.parityIndex = i; });
  connect(addressField_, &QLineEdit::textChanged, this,
          [this] { data_.deviceAddress = ClampToInt(FieldValue(addressField_), INT32_MIN, INT32_MAX); });
  connect(intervalField_, &QLineEdit::textChanged, this, [this] {
    data_.pollIntervalMs = ClampToInt(FieldValue(intervalField_), INT32_MIN / 1000, INT32_MAX / 1000) * 1000;
  });
  connect(pathField_, &QLineEdit::textChanged, this, [this](const QString& text) { savePath_ = text.toStdString(); });
  autoSaveTimer_.setSingleShot(true);
  connect(&autoSaveTimer_, &QTimer::timeout, this, &CRealtimeSetDlg::OnAutoSaveStep);

  const auto onClick = [this](int id, auto handler) {
    connect(findChild<QPushButton*>(QString::number(id)), &QPushButton::clicked, this, handler);
  };
  onClick(kStart, [this] { OnStart(); });
  onClick(kStop, [this] { OnStop(); });
  onClick(kBrowse, [this] { OnBrowse(); });
  onClick(kOpenDataFile, [this] { OnOpenDataFile(); });
  onClick(kManualSave, [this] { OnManualSave(); });
  onClick(kClearData, [this] { OnClearData(); });
  onClick(kClearList, [this] { log_->ClearLines(); });
  onClick(kPreviousPage, [this] { page_.chart()->PreviousPage(); });
  onClick(kNextPage, [this] { page_.chart()->NextPage(); });
  onClick(kSetPointsPerPage,
          [this] { page_.chart()->SetPointsPerPage(ClampToInt(FieldValue(pointsPerPageField_), 0, INT32_MAX)); });
  onClick(kExportExcel, [this] { OnExport(true); });
  onClick(kExportCsv, [this] { OnExport(false); });
  connect(autoSave_, &QCheckBox::clicked, this, [this] { OnAutoSave(); });
}

void CRealtimeSetDlg::Initialise() {
  // Filling the lists selects their first items: the settings choose after.
  const int32_t comPort = data_.comPort, baudIndex = data_.baudIndex, parityIndex = data_.parityIndex;
  for (int port = 1; port <= kPortCount; ++port)
    portList_->addItem(QString::fromStdString(base::FormatText(base::Text(TextId::RealtimePortItem, 0), port)));
  baudList_->addItems({QStringLiteral("2400"), QStringLiteral("4800"), QStringLiteral("9600"), QStringLiteral("19200"),
                       QStringLiteral("38400")});
  parityList_->addItems(
      {Text(TextId::RealtimeParityNone), Text(TextId::RealtimeParityOdd), Text(TextId::RealtimeParityEven)});
  portList_->setCurrentIndex(comPort - 1 < kPortCount ? comPort - 1 : -1);
  baudList_->setCurrentIndex(baudIndex < baudList_->count() ? baudIndex : -1);
  parityList_->setCurrentIndex(parityIndex < parityList_->count() ? parityIndex : -1);

  addressSpin_->SetRange(0, kMaxAddress);
  addressSpin_->SetPosition(data_.deviceAddress);
  autoSaveSpin_->SetRange(realtime::kMinAutoSaveSeconds, realtime::kMaxAutoSaveSeconds);
  autoSaveSpin_->SetPosition(kDefaultAutoSaveSeconds);
  channelCountSpin_->SetRange(1, realtime::kRecordChannels);
  channelCountSpin_->SetPosition(1);
  intervalSpin_->SetRange(1, kMaxIntervalSeconds);
  intervalSpin_->SetPosition(data_.pollIntervalMs / 1000);
  pathField_->setText(QString::fromStdString(savePath_));
  pointsPerPageField_->setText(QString::number(kDefaultPointsPerPage));
  channelCountField_->setText(QString::number(realtime::kRecordChannels));
}

void CRealtimeSetDlg::SetAcquisitionControlsEnabled(bool enabled) {
  for (QWidget* control :
       std::initializer_list<QWidget*>{portList_, baudList_, parityList_, addressField_, addressSpin_, intervalField_,
                                       intervalSpin_, pathField_, channelCountSpin_, channelCountField_})
    control->setEnabled(enabled);
}

void CRealtimeSetDlg::OnStart() {
  SetAcquisitionControlsEnabled(false);
  OnClearData();
  log_->ClearLines();
  savePath_ = realtime::StartSavePath(receiveFolder_, data_.deviceAddress, realtime::LocalNow().Fields());
  // The protocol polls 1 to 18 channels; the field shows what is used.
  const int channels = ClampToInt(FieldValue(channelCountField_), 1, realtime::kRecordChannels);
  channelCountField_->setText(QString::number(channels));
  page_.acquisition().channelCount = channels;
  page_.acquisition().Start(realtime::AcquisitionSettings::From(data_));
}

void CRealtimeSetDlg::OnStop() {
  SetAcquisitionControlsEnabled(true);
  page_.acquisition().Stop();
}

void CRealtimeSetDlg::OnBrowse() {
  const QString folder =
      main_.prompts().FolderName(nullptr, Text(TextId::RealtimeBrowseTitle), QString::fromStdString(receiveFolder_));
  if (!folder.isEmpty()) {
    receiveFolder_ = QFile::encodeName(folder).toStdString();
    if (receiveFolder_.back() != '/') receiveFolder_ += '/';
  }
  pathField_->setText(QString::fromStdString(receiveFolder_ + base::Text(TextId::RealtimeTempFile, data_.language)));
}

void CRealtimeSetDlg::OnManualSave() { realtime::ManualSave(page_, page_.acquisition().records); }

void CRealtimeSetDlg::OnAutoSave() {
  const bool checked = autoSave_->isChecked();
  for (QWidget* control : std::initializer_list<QWidget*>{autoSaveField_, autoSaveSpin_, pathField_})
    control->setEnabled(!checked);
  autoSaveTimer_.stop();
  if (!checked) return;
  autoSavePeriodMs_ = realtime::AutoSavePeriodMs(page_, FieldValue(autoSaveField_));
  if (autoSavePeriodMs_ <= 0) return;
  nextAutoSave_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(autoSavePeriodMs_);
  ArmAutoSave();
}

void CRealtimeSetDlg::ArmAutoSave() {
  const auto remaining =
      std::chrono::duration_cast<std::chrono::milliseconds>(nextAutoSave_ - std::chrono::steady_clock::now());
  autoSaveTimer_.start(static_cast<int>(std::clamp<int64_t>(remaining.count(), 0, INT32_MAX)));
}

void CRealtimeSetDlg::OnAutoSaveStep() {
  if (std::chrono::steady_clock::now() >= nextAutoSave_) {
    nextAutoSave_ += std::chrono::milliseconds(autoSavePeriodMs_);
    OnTimer();
  }
  ArmAutoSave();
}

void CRealtimeSetDlg::OnTimer() { OnManualSave(); }

void CRealtimeSetDlg::StopAutoSave() { autoSaveTimer_.stop(); }

void CRealtimeSetDlg::OnOpenDataFile() {
  const QString path = main_.prompts().OpenFileName(this, Text(TextId::RealtimeOpenDataFile),
                                                    QtFileFilter(Text(TextId::DataFileFilter)));
  if (!path.isEmpty()) OpenDataPath(path);
}

void CRealtimeSetDlg::OpenDataPath(const QString& path) {
  std::array<uint32_t, realtime::kRecordChannels> colours{};
  for (int i = 0; i < realtime::kRecordChannels; ++i) colours[i] = data_.channels[i].color;
  realtime::OpenDataFile(page_, page_.acquisition().records, QFile::encodeName(path).toStdString(), colours);
}

void CRealtimeSetDlg::OnClearData() { realtime::ClearData(page_, page_.acquisition().records); }

void CRealtimeSetDlg::OnExport(bool workbook) {
  const QString path = main_.prompts().SaveFileName(
      this, {}, QtFileFilter(Text(workbook ? TextId::ExportWorkbookFilter : TextId::ExportCsvFilter)), {});
  if (path.isEmpty()) return;
  output::RealtimeColumns columns;
  for (int j = 0; j < realtime::kRecordChannels; ++j) columns.names[j] = settings::ChannelName(data_.channels[j]);
  CTChart* chart = page_.chart();
  columns.active = [chart](int channel) { return chart->SeriesShown(channel); };
  const std::string file = QFile::encodeName(path).toStdString();
  const auto progress = [this](uint32_t row, uint32_t rows) { main_.ReportFillProgress(row, rows); };
  const auto write = workbook ? output::WriteRealtimeWorkbookFile : output::ExportRealtimeCsv;
  main_.ReportExportResult(write(file, page_.acquisition().records, columns, progress), file);
}

bool CRealtimeSetDlg::AutoFollow() const { return autoFollow_->isChecked(); }

void CRealtimeSetDlg::SetSavePath(const std::string& path, bool showInField) {
  savePath_ = path;
  if (showInField) pathField_->setText(QString::fromStdString(path));
}

}  // namespace tessaly::gui
