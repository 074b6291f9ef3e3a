#pragma once
// The record-reading parameters dialog: page mode, sectors per page, page
// count and automatic paging, on a copy of the settings that OK stores.
#include <QDialog>

#include "recorder/record_params.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace tessaly::recorder {
struct CRecorderData;
}

namespace tessaly::gui {

class CRecordParamsDlg : public QDialog {
  Q_OBJECT
 public:
  CRecordParamsDlg(recorder::CRecorderData& data, QWidget* parent);

  void accept() override;

 private:
  // Shows the model's state: selection, enabled controls, check box, edit texts.
  void Show();

  recorder::CRecorderData& data_;
  recorder::RecordParamsModel model_;
  QComboBox* pageMode_;    // 1022
  QLineEdit* sectors_;     // 1021
  QLineEdit* pageCount_;   // 1023
  QCheckBox* autoPaging_;  // 1005
};

}  // namespace tessaly::gui
