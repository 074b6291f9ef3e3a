#include "viewer/data_list_dlg.h"

#include <QFontMetrics>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "base/format.h"
#include "base/number_format.h"
#include "base/texts.h"
#include "record/sample.h"
#include "recorder/recorder_data.h"
#include "widgets/grid_ctrl.h"

namespace tessaly::gui {

namespace {

constexpr int kSamplesPerAutoRow = 500;
constexpr int kTimeColumnWidth = 150;
constexpr int kHeadingRowHeight = 30;
constexpr int kRowHeight = 23;
constexpr unsigned kProgressEvery = 1000;
constexpr int kHeadingPadding = 16;  // the grid's text margins and a little air

}  // namespace

CDataListDlg::CDataListDlg(recorder::CRecorderData& data, FillProgressSink* progress, QWidget* parent)
    : QWidget(parent), data_(data), progress_(progress), grid_(new CGridCtrl(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(grid_);

  grid_->SetEditable(false);
  grid_->SetTrackFocusCell(true);
  grid_->SetFrameFocusCell(true);
  grid_->SetListMode(true);
  grid_->EnableSelection(true);
  for (auto cell : {CGridCtrl::DefaultCell::Normal, CGridCtrl::DefaultCell::FixedRow,
                    CGridCtrl::DefaultCell::FixedColumn, CGridCtrl::DefaultCell::Corner}) {
    grid_->SetDefaultCellHeight(cell, kRowHeight);
  }
}

void CDataListDlg::Clear() { grid_->DeleteAllItems(); }

void CDataListDlg::FillList() {
  using base::TextId;
  const record::SampleBuffer& samples = data_.samples;
  const size_t count = samples.size();
  if (data_.autoInterval == 1) data_.listInterval = static_cast<int32_t>(count / kSamplesPerAutoRow + 1);
  // The settings dialog accepts only intervals of 1 or more, but a settings
  // file can hold anything: below 1 the list shows every sample.
  const size_t n = data_.listInterval >= 1 ? static_cast<size_t>(data_.listInterval) : 1;

  grid_->DeleteAllItems();
  grid_->SetColumnCount(kColumns);
  const size_t rows = count / n;
  if (rows > static_cast<size_t>(kRowCap)) {
    data_.ShowMessage(base::Text(TextId::ListTooManyRows, data_.language));
    grid_->SetRowCount(kRowCap);
  } else {
    grid_->SetRowCount(static_cast<int>(rows) + 1);
  }
  grid_->SetFixedRowCount(1);
  grid_->SetFixedColumnCount(1);
  grid_->SetColumnWidth(1, kTimeColumnWidth);
  grid_->SetRowHeight(0, kHeadingRowHeight);

  if (data_.language == base::kChinese || data_.language == base::kEnglish) {
    grid_->SetItemText(0, 0, base::Text(TextId::ListIndexHeading, data_.language));
    grid_->SetItemText(0, 1, base::Text(TextId::ListTimeHeading, data_.language));
  }
  // A heading, bold while its column has the focus, widens its column beyond the default.
  QFont headingFont = grid_->font();
  headingFont.setBold(true);
  const QFontMetrics heading(headingFont);
  for (int k = 0; k < settings::kChannels; ++k) {
    if (!data_.channels[k].shown) continue;
    const std::string name = settings::ChannelName(data_.channels[k]);
    grid_->SetItemText(0, 2 + k, name);
    const int width = heading.horizontalAdvance(QString::fromStdString(name)) + kHeadingPadding;
    grid_->SetColumnWidth(2 + k, std::max(CGridCtrl::kDefaultColumnWidth, width));
  }
  if (rows == 0) return;

  const int language = data_.language;
  const char* indexFormat = base::Text(TextId::ListIndexFormat, language);
  const char* timeFormat = base::Text(TextId::ListTimeFormat, language);
  base::FixedText valueText;
  // In a cut list the last pass writes past the grid's last row, which the
  // grid ignores: the list ends with sample 65533 x n.
  const size_t listed = std::min(rows, static_cast<size_t>(kRowCap));
  record::SampleBuffer::Walker walker(samples);
  for (size_t r = 0; r < listed; ++r) {
    const record::Sample& s = walker.At(r * n);
    const int row = static_cast<int>(r) + 1;
    grid_->SetItemText(row, 0, base::FormatText(indexFormat, static_cast<int>(r * n)));
    const record::CalendarFields t = s.time.Fields();
    grid_->SetItemText(row, 1, base::FormatText(timeFormat, t.year, t.month, t.day, t.hour, t.minute, t.second));
    for (int k = 0; k < settings::kChannels; ++k) {
      if (!data_.channels[k].shown) continue;
      grid_->SetItemText(row, 2 + k, valueText(static_cast<double>(s.values[k]), s.decimals[k]));
    }
    if (progress_ && (r == 0 || r == rows - 1 || r % kProgressEvery == 0)) {
      progress_->ReportFillProgress(static_cast<unsigned>(r), static_cast<unsigned>(rows));
    }
  }
}

}  // namespace tessaly::gui
