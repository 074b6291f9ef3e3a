#include "viewer/search_by_time_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "record/search.h"
#include "recorder/recorder_data.h"
#include "recorder/search_by_time.h"
#include "widgets/moment_edit.h"
#include "widgets/ui_text.h"

namespace tessaly::gui {

using base::TextId;

CSearchByTimeDlg::CSearchByTimeDlg(recorder::CRecorderData& data, QWidget* parent)
    : QDialog(parent), data_(data), start_(new MomentEdit(1045, 1043, this)), stop_(new MomentEdit(1046, 1044, this)) {
  setObjectName(QStringLiteral("searchByTimeDlg"));
  const int language = data.language;
  const auto text = [language](TextId id) { return UiText(id, language); };
  setWindowTitle(text(TextId::SearchTitle));
  start_->SetNow();
  stop_->SetNow();
  saveToTree_ = WithControlId(new QCheckBox(text(TextId::SearchSaveToTree), this), 1005);
  saveToTree_->setChecked(true);
  clearTree_ = WithControlId(new QCheckBox(text(TextId::SearchClearTree), this), 1020);
  auto* hint = new QLabel(text(TextId::SearchHint), this);
  hint->setWordWrap(true);
  hint->setVisible(language == base::kChinese);
  auto* ok = WithControlId(new QPushButton(text(TextId::ButtonOk), this), 1);
  ok->setDefault(true);
  auto* cancel = WithControlId(new QPushButton(text(TextId::ButtonCancel), this), 2);
  connect(ok, &QPushButton::clicked, this, &CSearchByTimeDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CSearchByTimeDlg::reject);

  auto* moments = new QGridLayout;
  moments->addWidget(new QLabel(text(TextId::SearchStartTime), this), 0, 0);
  moments->addWidget(start_, 0, 1);
  moments->addWidget(new QLabel(text(TextId::SearchStopTime), this), 1, 0);
  moments->addWidget(stop_, 1, 1);
  moments->setColumnStretch(1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* all = new QVBoxLayout(this);
  all->addLayout(moments);
  all->addSpacing(6);
  all->addWidget(saveToTree_);
  all->addWidget(clearTree_);
  all->addWidget(hint);
  all->addStretch();
  all->addLayout(buttons);
  setMinimumWidth(360);
}

record::CalendarFields CSearchByTimeDlg::StartFields() const { return start_->Fields(); }
record::CalendarFields CSearchByTimeDlg::StopFields() const { return stop_->Fields(); }
bool CSearchByTimeDlg::SaveToTree() const { return saveToTree_->isChecked(); }
bool CSearchByTimeDlg::ClearTree() const { return clearTree_->isChecked(); }

void CSearchByTimeDlg::accept() {
  if (recorder::SearchMomentsReasonable(data_, StartFields(), StopFields())) QDialog::accept();
}

}  // namespace tessaly::gui
