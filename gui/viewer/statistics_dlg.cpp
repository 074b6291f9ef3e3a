#include "viewer/statistics_dlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "recorder/recorder_data.h"
#include "widgets/moment_edit.h"
#include "widgets/ui_text.h"

namespace tessaly::gui {

using base::TextId;

CStatisticsDlg::CStatisticsDlg(recorder::CRecorderData& data, QWidget* parent)
    : QDialog(parent),
      data_(data),
      language_(data.language),
      start_(new MomentEdit(1045, 1043, this)),
      stop_(new MomentEdit(1046, 1044, this)) {
  setObjectName(QStringLiteral("statisticsDlg"));
  const auto text = [this](TextId id) { return UiText(id, language_); };
  const auto button = [this](int id, const QString& label) {
    auto* b = WithControlId(new QPushButton(label, this), id);
    b->setAutoDefault(false);
    return b;
  };
  setWindowTitle(text(TextId::MenuRangeStatistics));

  // The range the buffer covers, shown only.
  auto* first = WithControlId(new QLineEdit(this), 1009);
  auto* last = WithControlId(new QLineEdit(this), 1010);
  for (QLineEdit* field : {first, last}) {
    field->setReadOnly(true);
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")) + 16);
  }
  if (!data.samples.empty()) {
    first->setText(QString::fromStdString(analysis::RangeTimeText(data.samples.front().time)));
    last->setText(QString::fromStdString(analysis::RangeTimeText(data.samples.back().time)));
    start_->SetMoment(data.samples.front().time);
    stop_->SetMoment(data.samples.back().time);
  }

  QPushButton* peak = button(1040, text(TextId::StatsRun));
  lower_ = WithControlId(new QLineEdit(QStringLiteral("0"), this), 1011);
  upper_ = WithControlId(new QLineEdit(QStringLiteral("0"), this), 1012);
  below_ = WithControlId(new QCheckBox(text(TextId::StatsRun), this), 1005);
  above_ = WithControlId(new QCheckBox(text(TextId::StatsRun), this), 1006);
  channel_ = WithControlId(new QComboBox(this), 1007);
  channel_->addItem(text(TextId::StatsAllChannels));
  for (int i = 1; i <= settings::kChannels; ++i) channel_->addItem(QString::number(i));
  channel_->setCurrentIndex(0);
  QPushButton* overLimit = button(1041, text(TextId::StatsRun));

  report_ = WithControlId(new QTreeWidget(this), 1047);
  report_->setRootIsDecorated(false);
  report_->setSelectionBehavior(QAbstractItemView::SelectRows);
  report_->setColumnCount(0);
  report_->header()->setStretchLastSection(false);
  report_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  report_->setMinimumHeight(220);

  QPushButton* copy = button(1051, text(TextId::StatsCopy));
  QPushButton* ok = button(1, text(TextId::ButtonOk));
  ok->setDefault(true);
  // Kept from the dialog's resource; it has no function.
  QPushButton* cancel = button(1042, UiText(TextId::ButtonCancel, base::kChinese));
  cancel->hide();

  connect(peak, &QPushButton::clicked, this, &CStatisticsDlg::RunPeakValleyAverage);
  connect(overLimit, &QPushButton::clicked, this, &CStatisticsDlg::RunOverLimit);
  connect(copy, &QPushButton::clicked, this, &CStatisticsDlg::Copy);
  connect(ok, &QPushButton::clicked, this, &CStatisticsDlg::accept);

  auto* range = new QHBoxLayout;
  range->addWidget(new QLabel(text(TextId::StatsTimeRange), this));
  range->addWidget(first, 1);
  range->addWidget(new QLabel(text(TextId::StatsRangeArrow), this));
  range->addWidget(last, 1);

  auto* time = new QGroupBox(text(TextId::StatsTimeGroup), this);
  auto* timeGrid = new QGridLayout(time);
  timeGrid->addWidget(new QLabel(text(TextId::StatsStartTime), this), 0, 0);
  timeGrid->addWidget(start_, 0, 1);
  timeGrid->addWidget(new QLabel(text(TextId::StatsStopTime), this), 1, 0);
  timeGrid->addWidget(stop_, 1, 1);
  timeGrid->setColumnStretch(1, 1);

  auto* peakGroup = new QGroupBox(text(TextId::StatsPeakGroup), this);
  auto* peakRow = new QHBoxLayout(peakGroup);
  peakRow->addStretch();
  peakRow->addWidget(peak);

  auto* overGroup = new QGroupBox(text(TextId::StatsOverGroup), this);
  auto* overGrid = new QGridLayout(overGroup);
  overGrid->addWidget(new QLabel(text(TextId::StatsFloor), this), 0, 0);
  overGrid->addWidget(lower_, 0, 1);
  overGrid->addWidget(below_, 0, 2);
  overGrid->addWidget(new QLabel(text(TextId::StatsCeiling), this), 1, 0);
  overGrid->addWidget(upper_, 1, 1);
  overGrid->addWidget(above_, 1, 2);
  overGrid->addWidget(channel_, 2, 0, 1, 2);
  overGrid->addWidget(overLimit, 2, 2);
  overGrid->setColumnStretch(1, 1);

  auto* groups = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(time);
  left->addWidget(peakGroup);
  groups->addLayout(left, 1);
  groups->addWidget(overGroup, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(copy);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* all = new QVBoxLayout(this);
  all->addLayout(range);
  all->addLayout(groups);
  all->addWidget(report_, 1);
  all->addLayout(buttons);
}

void CStatisticsDlg::SetRange(const record::RecordTime& start, const record::RecordTime& stop) {
  start_->SetMoment(start);
  stop_->SetMoment(stop);
}

void CStatisticsDlg::RunPeakValleyAverage() {
  Show(analysis::PeakValleyAverage(data_.samples, start_->Moment(), stop_->Moment(), language_));
}

void CStatisticsDlg::RunOverLimit() {
  analysis::OverLimitOptions options;
  options.below = below_->isChecked();
  options.above = above_->isChecked();
  options.lower = analysis::ParseLimit(lower_->text().toStdString());
  options.upper = analysis::ParseLimit(upper_->text().toStdString());
  options.channel = channel_->currentIndex();
  Show(analysis::OverLimit(data_.samples, start_->Moment(), stop_->Moment(), options, language_));
}

void CStatisticsDlg::Show(const analysis::StatisticsResult& result) {
  if (result.status == analysis::StatisticsStatus::TimeUnreasonable) {
    data_.ShowError(base::Text(TextId::StatsTimeUnreasonable, language_));
    return;
  }
  table_ = result.table;
  report_->clear();
  QStringList headings;
  for (const analysis::StatisticsTable::Column& column : table_.columns)
    headings << QString::fromStdString(column.heading);
  report_->setColumnCount(static_cast<int>(headings.size()));
  report_->setHeaderLabels(headings);
  QList<QTreeWidgetItem*> items;
  for (const std::vector<std::string>& row : table_.rows) {
    QStringList cells;
    for (const std::string& cell : row) cells << QString::fromStdString(cell);
    items.append(new QTreeWidgetItem(cells));
  }
  report_->addTopLevelItems(items);
  // The given widths are the least; a longer heading or cell widens its column.
  for (int i = 0; i < static_cast<int>(table_.columns.size()); ++i) {
    report_->resizeColumnToContents(i);
    report_->setColumnWidth(i, std::max(table_.columns[i].width, report_->columnWidth(i)));
  }
  if (result.status == analysis::StatisticsStatus::RangeReversed)
    data_.ShowMessage(base::Text(TextId::StatsRangeReversed, language_));
}

void CStatisticsDlg::Copy() {
  QClipboard* clipboard = QApplication::clipboard();
  if (!clipboard) return;
  clipboard->setText(QString::fromStdString(CopyText()));
}

}  // namespace tessaly::gui
