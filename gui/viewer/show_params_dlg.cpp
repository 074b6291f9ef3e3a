#include "viewer/show_params_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/format.h"
#include "recorder/recorder_data.h"
#include "settings/unit_table.h"
#include "widgets/color_button.h"
#include "widgets/ui_text.h"

namespace tessaly::gui {

using base::TextId;
using settings::DisplayParamsEdit;

namespace {

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

CShowParamsDlg::CShowParamsDlg(recorder::CRecorderData& data, QWidget* parent)
    : QDialog(parent), data_(data), language_(data.language), edit_(data) {
  setObjectName(QStringLiteral("showParamsDlg"));
  setWindowTitle(UiText(TextId::ShowParamsTitle, language_));
  BuildControls();
  LayOut();
  Connect();
  Open();
}

void CShowParamsDlg::BuildControls() {
  const auto text = [this](TextId id) { return UiText(id, language_); };
  const auto check = [this, &text](int id, TextId label) {
    return WithControlId(new QCheckBox(text(label), this), id);
  };
  const auto colour = [this, &text](int id) {
    ColorButton* button = WithControlId(new ColorButton(this), id);
    button->SetOtherText(text(TextId::ColorOther));
    return button;
  };
  const auto lineEdit = [this](int id) { return WithControlId(new QLineEdit(this), id); };
  const auto combo = [this](int id) { return WithControlId(new QComboBox(this), id); };

  showMode_ = combo(1019);
  showMode_->addItems({text(TextId::ShowParamsModePercentage), text(TextId::ShowParamsModeValue)});
  yMin_ = lineEdit(1017);
  yMax_ = lineEdit(1018);
  autoRange_ = check(1072, TextId::ShowParamsAutoRange);
  showGrid_ = check(1020, TextId::ShowParamsShowGrid);
  backColor_ = colour(1015);
  gridColor_ = colour(1016);
  showCursor_ = check(1050, TextId::ShowParamsShowCursor);

  channel_ = combo(1006);
  for (int i = 1; i <= settings::kChannels; ++i) channel_->addItem(QString::number(i));
  lineWidth_ = combo(1007);
  for (int i = 1; i <= 4; ++i) lineWidth_->addItem(QString::number(i));
  channelColor_ = colour(1014);
  shown_ = check(1005, TextId::ShowParamsShown);
  name_ = lineEdit(1009);
  unit_ = lineEdit(1021);
  // The unit index travels with the channel but is never offered to the user.
  unitList_ = combo(1008);
  for (const char* unit : settings::kUnitTable) unitList_->addItem(QString::fromUtf8(unit));
  unitList_->hide();
  rangeLow_ = lineEdit(1010);
  rangeHigh_ = lineEdit(1011);
  previous_ = WithControlId(new QPushButton(text(TextId::ShowParamsPrevious), this), 1012);
  next_ = WithControlId(new QPushButton(text(TextId::ShowParamsNext), this), 1013);
  previous_->setAutoDefault(false);
  next_->setAutoDefault(false);

  deviceName_ = lineEdit(1022);
  // Room for 16 bytes of text in the three text fields.
  for (QLineEdit* text : {name_, unit_, deviceName_})
    text->setMinimumWidth(text->fontMetrics().averageCharWidth() * 17);
  allInterval_ = lineEdit(1039);
  allInterval_->setReadOnly(true);
  allInterval_->setEnabled(false);  // every all-graph fill sets it: it should not look editable
  partInterval_ = lineEdit(1040);
  listInterval_ = lineEdit(1041);
  autoInterval_ = check(1048, TextId::ShowParamsAutoInterval);
  intervalNote_ = new QLabel(text(TextId::ShowParamsIntervalNote), this);
  intervalNote_->setWordWrap(true);
  intervalNote_->setVisible(language_ == base::kChinese);

  ok_ = WithControlId(new QPushButton(text(TextId::ButtonOk), this), 1);
  cancel_ = WithControlId(new QPushButton(text(TextId::ButtonCancel), this), 2);
  ok_->setDefault(true);
}

void CShowParamsDlg::LayOut() {
  const auto label = [this](TextId id) { return new QLabel(UiText(id, language_), this); };
  const auto note = [&label] {
    QLabel* l = label(TextId::ShowParams16Bytes);
    l->setEnabled(false);
    return l;
  };

  auto* yAxis = new QGroupBox(UiText(TextId::ShowParamsYAxis, language_), this);
  auto* yGrid = new QGridLayout(yAxis);
  yGrid->addWidget(label(TextId::ShowParamsShowMode), 0, 0);
  yGrid->addWidget(showMode_, 0, 1, 1, 3);
  yGrid->addWidget(label(TextId::ShowParamsRange), 1, 0);
  yGrid->addWidget(yMin_, 1, 1);
  yGrid->addWidget(new QLabel(QStringLiteral("—"), this), 1, 2);
  yGrid->addWidget(yMax_, 1, 3);
  yGrid->addWidget(autoRange_, 2, 0, 1, 4);
  yGrid->setColumnStretch(1, 1);
  yGrid->setColumnStretch(3, 1);

  auto* grid = new QGroupBox(UiText(TextId::ShowParamsGrid, language_), this);
  auto* gGrid = new QGridLayout(grid);
  gGrid->addWidget(showGrid_, 0, 0, 1, 2);
  gGrid->addWidget(label(TextId::ShowParamsBackColor), 1, 0);
  gGrid->addWidget(backColor_, 1, 1);
  gGrid->addWidget(label(TextId::ShowParamsGridColor), 2, 0);
  gGrid->addWidget(gridColor_, 2, 1);
  gGrid->addWidget(showCursor_, 3, 0, 1, 2);

  auto* channelInfo = new QGroupBox(UiText(TextId::ShowParamsChannelInfo, language_), this);
  auto* cGrid = new QGridLayout(channelInfo);
  cGrid->addWidget(label(TextId::ShowParamsChannel), 0, 0);
  cGrid->addWidget(channel_, 0, 1);
  cGrid->addWidget(label(TextId::ShowParamsLineWidth), 0, 3);
  cGrid->addWidget(lineWidth_, 0, 4);
  cGrid->addWidget(label(TextId::ShowParamsColor), 1, 0);
  cGrid->addWidget(channelColor_, 1, 1, Qt::AlignLeft);
  cGrid->addWidget(shown_, 1, 3, 1, 2);
  cGrid->addWidget(label(TextId::ShowParamsName), 2, 0);
  cGrid->addWidget(name_, 2, 1);
  cGrid->addWidget(note(), 2, 2);
  cGrid->addWidget(label(TextId::ShowParamsUnit), 2, 3);
  cGrid->addWidget(unit_, 2, 4);
  cGrid->addWidget(note(), 2, 5);
  cGrid->addWidget(label(TextId::ShowParamsRangeLow), 3, 0);
  cGrid->addWidget(rangeLow_, 3, 1);
  cGrid->addWidget(label(TextId::ShowParamsRangeHigh), 3, 3);
  cGrid->addWidget(rangeHigh_, 3, 4);
  auto* navigation = new QHBoxLayout;
  navigation->addStretch();
  navigation->addWidget(previous_);
  navigation->addWidget(next_);
  cGrid->addLayout(navigation, 4, 0, 1, 6);
  cGrid->setColumnStretch(1, 1);
  cGrid->setColumnStretch(4, 1);
  cGrid->setColumnMinimumWidth(2, 8);

  auto* record = new QGroupBox(UiText(TextId::ShowParamsDataRecord, language_), this);
  auto* rGrid = new QGridLayout(record);
  rGrid->addWidget(label(TextId::ShowParamsDeviceName), 0, 0);
  rGrid->addWidget(deviceName_, 0, 1);
  rGrid->addWidget(note(), 0, 2);
  rGrid->setRowStretch(1, 1);
  rGrid->setColumnStretch(1, 1);

  auto* intervals = new QGroupBox(this);
  auto* iGrid = new QGridLayout(intervals);
  iGrid->addWidget(label(TextId::ShowParamsAllInterval), 0, 0);
  iGrid->addWidget(allInterval_, 0, 1);
  iGrid->addWidget(label(TextId::ShowParamsPartInterval), 1, 0);
  iGrid->addWidget(partInterval_, 1, 1);
  iGrid->addWidget(label(TextId::ShowParamsListInterval), 2, 0);
  iGrid->addWidget(listInterval_, 2, 1);
  iGrid->addWidget(autoInterval_, 3, 0, 1, 2);

  auto* top = new QHBoxLayout;
  top->addWidget(yAxis, 3);
  top->addWidget(grid, 2);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(record, 2);
  bottom->addWidget(intervals, 3);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);

  auto* all = new QVBoxLayout(this);
  all->addLayout(top);
  all->addWidget(channelInfo);
  all->addLayout(bottom);
  all->addWidget(intervalNote_);
  all->addLayout(buttons);
}

void CShowParamsDlg::Connect() {
  settings::DisplaySettings& s = edit_.settings;
  const auto takeFloat = [](float& field) {
    return [&field](const std::string& text) { field = DisplayParamsEdit::TakeFloat(text); };
  };
  const auto takeInterval = [](int32_t& field) {
    return [&field](const std::string& text) { DisplayParamsEdit::TakeInterval(field, text); };
  };
  Bind(yMin_, takeFloat(s.yRangeMin));
  Bind(yMax_, takeFloat(s.yRangeMax));
  Bind(rangeLow_, [this](const std::string& t) { edit_.Current().rangeLow = DisplayParamsEdit::TakeFloat(t); });
  Bind(rangeHigh_, [this](const std::string& t) { edit_.Current().rangeHigh = DisplayParamsEdit::TakeFloat(t); });
  Bind(allInterval_, takeInterval(s.allGraphInterval));
  Bind(partInterval_, takeInterval(s.partGraphInterval));
  Bind(listInterval_, takeInterval(s.listInterval));
  Bind(name_, [this](const std::string& t) { TakeText(settings::SetChannelName(edit_.Current(), t)); });
  Bind(unit_, [this](const std::string& t) { TakeText(settings::SetChannelUnit(edit_.Current(), t)); });
  Bind(deviceName_, [this](const std::string& t) { TakeText(settings::SetDeviceName(edit_.settings, t)); });

  connect(showMode_, &QComboBox::activated, this, [this](int index) { edit_.settings.yAxisMode = index; });
  connect(channel_, &QComboBox::activated, this, [this](int index) {
    edit_.channel = index;
    ShowChannel();
  });
  connect(lineWidth_, &QComboBox::activated, this, [this](int index) { edit_.Current().lineWidth = index + 1; });
  connect(unitList_, &QComboBox::activated, this, [this](int index) { edit_.Current().unitIndex = index; });

  const auto clicked = [this](QCheckBox* box, std::function<int32_t&()> field) {
    connect(box, &QCheckBox::clicked, this, [field](bool checked) { field() = checked ? 1 : 0; });
  };
  clicked(shown_, [this]() -> int32_t& { return edit_.Current().shown; });
  clicked(showGrid_, [this]() -> int32_t& { return edit_.settings.showGrid; });
  clicked(showCursor_, [this]() -> int32_t& { return edit_.settings.showCursor; });
  clicked(autoRange_, [this]() -> int32_t& { return edit_.autoRange; });
  clicked(autoInterval_, [this]() -> int32_t& { return edit_.settings.autoInterval; });
  connect(autoInterval_, &QCheckBox::clicked, this, &CShowParamsDlg::EnableIntervals);

  connect(channelColor_, &ColorButton::colorChosen, this, [this](uint32_t c) { edit_.Current().color = c; });
  connect(backColor_, &ColorButton::colorChosen, this, [this](uint32_t c) { edit_.settings.backColor = c; });
  connect(gridColor_, &ColorButton::colorChosen, this, [this](uint32_t c) { edit_.settings.gridColor = c; });

  connect(previous_, &QPushButton::clicked, this, [this] {
    if (edit_.Previous()) ShowChannel();
  });
  connect(next_, &QPushButton::clicked, this, [this] {
    if (edit_.Next()) ShowChannel();
  });
  connect(ok_, &QPushButton::clicked, this, &CShowParamsDlg::accept);
  connect(cancel_, &QPushButton::clicked, this, &CShowParamsDlg::reject);
}

void CShowParamsDlg::Open() {
  settings::DisplaySettings& s = edit_.settings;
  autoRange_->setChecked(edit_.autoRange != 0);
  autoInterval_->setChecked(s.autoInterval != 0);
  s.autoInterval = autoInterval_->isChecked() ? 1 : 0;
  EnableIntervals();
  showMode_->setCurrentIndex(s.yAxisMode == 0 || s.yAxisMode == 1 ? s.yAxisMode : -1);
  s.yAxisMode = showMode_->currentIndex();
  Fill(yMin_, DisplayParamsEdit::FloatText(s.yRangeMin));
  Fill(yMax_, DisplayParamsEdit::FloatText(s.yRangeMax));
  showCursor_->setChecked(s.showCursor != 0);
  showGrid_->setChecked(s.showGrid != 0);
  gridColor_->SetColor(s.gridColor);
  backColor_->SetColor(s.backColor);
  Fill(allInterval_, base::Format("%d", s.allGraphInterval));
  Fill(partInterval_, base::Format("%d", s.partGraphInterval));
  Fill(listInterval_, base::Format("%d", s.listInterval));
  Fill(deviceName_, settings::DeviceName(s));
  ShowChannel();
}

void CShowParamsDlg::ShowChannel() {
  const settings::ChannelInfo& ch = edit_.Current();
  channel_->setCurrentIndex(edit_.channel);
  lineWidth_->setCurrentIndex(ch.lineWidth - 1);
  channelColor_->SetColor(ch.color);
  shown_->setChecked(ch.shown != 0);
  unitList_->setCurrentIndex(ch.unitIndex);
  // Each fill takes its text over into the copy, so the floats of every
  // channel shown come back rounded to two decimals.
  Fill(rangeLow_, DisplayParamsEdit::FloatText(ch.rangeLow));
  Fill(rangeHigh_, DisplayParamsEdit::FloatText(ch.rangeHigh));
  Fill(name_, settings::ChannelName(ch));
  Fill(unit_, settings::ChannelUnit(ch));
}

void CShowParamsDlg::TakeText(bool stored) {
  if (!stored) data_.ShowMessage(base::Text(TextId::ShowParamsTooLong, language_));
}

void CShowParamsDlg::Fill(QLineEdit* edit, const std::string& utf8) {
  {
    const QSignalBlocker blocker(edit);
    edit->setText(FromUtf8(utf8));
  }
  takeOvers_.value(edit)(utf8);
}

void CShowParamsDlg::Bind(QLineEdit* edit, TakeOver takeOver) {
  takeOvers_.insert(edit, takeOver);
  connect(edit, &QLineEdit::textChanged, this, [takeOver](const QString& text) { takeOver(text.toStdString()); });
}

void CShowParamsDlg::EnableIntervals() {
  const bool manual = !autoInterval_->isChecked();
  partInterval_->setEnabled(manual);
  listInterval_->setEnabled(manual);
}

void CShowParamsDlg::accept() {
  edit_.Commit(data_);
  QDialog::accept();
}

}  // namespace tessaly::gui
