#include "viewer/record_params_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "base/texts.h"
#include "recorder/recorder_data.h"

namespace tessaly::gui {

using base::TextId;

CRecordParamsDlg::CRecordParamsDlg(recorder::CRecorderData& data, QWidget* parent)
    : QDialog(parent),
      data_(data),
      model_(data),
      pageMode_(new QComboBox(this)),
      sectors_(new QLineEdit(this)),
      pageCount_(new QLineEdit(this)),
      autoPaging_(new QCheckBox(this)) {
  const auto text = [&](TextId id) { return QString::fromUtf8(base::Text(id, data.language)); };
  setObjectName(QStringLiteral("recordParamsDlg"));
  setWindowTitle(text(TextId::RecordParamsTitle));
  pageMode_->setObjectName(QStringLiteral("pageModeList"));
  sectors_->setObjectName(QStringLiteral("sectorsPerPageEdit"));
  pageCount_->setObjectName(QStringLiteral("pageCountEdit"));
  autoPaging_->setObjectName(QStringLiteral("autoPagingCheck"));
  pageMode_->addItems({text(TextId::PageModeFixSectors), text(TextId::PageModeFixCount)});
  autoPaging_->setText(text(TextId::AutoPagingCheck));

  auto* group = new QGroupBox(text(TextId::RecordParamsGroup), this);
  auto* form = new QFormLayout(group);
  form->addRow(pageMode_);
  form->addRow(text(TextId::SectorsPerPageLabel), sectors_);
  form->addRow(text(TextId::PageCountLabel), pageCount_);
  form->addRow(autoPaging_);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(text(TextId::ButtonOk), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("ok"));
  buttons->addButton(text(TextId::ButtonCancel), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("cancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  if (data.language == base::kChinese) {
    auto* hint = new QLabel(text(TextId::RecordParamsHint), this);
    hint->setObjectName(QStringLiteral("hint"));
    hint->setWordWrap(true);
    layout->addWidget(hint);
  }
  layout->addWidget(buttons);
  setMinimumWidth(380);

  Show();
  connect(pageMode_, &QComboBox::activated, this, [this](int index) {
    model_.SelectMode(index);
    Show();
  });
  connect(autoPaging_, &QCheckBox::clicked, this, [this](bool checked) {
    model_.SetAutoPaging(checked);
    Show();
  });
  connect(sectors_, &QLineEdit::textEdited, this, [this](const QString& value) {
    model_.SetSectorsText(value.toStdString());
    Show();
  });
  connect(pageCount_, &QLineEdit::textEdited, this, [this](const QString& value) {
    model_.SetPageCountText(value.toStdString());
    Show();
  });
}

void CRecordParamsDlg::Show() {
  pageMode_->setCurrentIndex(model_.selectedMode());
  pageMode_->setEnabled(model_.modeListEnabled());
  sectors_->setEnabled(model_.sectorsEnabled());
  pageCount_->setEnabled(model_.pageCountEnabled());
  autoPaging_->setChecked(model_.autoChecked());
  // Only the dependent edit changes under the user's typing; the cursor stays.
  for (auto [edit, value] :
       {std::pair{sectors_, &model_.sectorsText()}, std::pair{pageCount_, &model_.pageCountText()}}) {
    const QString shown = QString::fromStdString(*value);
    if (edit->text() != shown) edit->setText(shown);
  }
}

void CRecordParamsDlg::accept() {
  model_.Accept(data_);
  QDialog::accept();
}

}  // namespace tessaly::gui
