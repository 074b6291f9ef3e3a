#pragma once
// The display-parameters dialog ("显示参数设置" / "Show Params Set"). It edits
// a private copy of the display settings; OK writes the copy back as a whole,
// Cancel discards it. Saving and redrawing are the caller's.
#include <QDialog>
#include <QHash>
#include <functional>
#include <string>

#include "settings/display_params_edit.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tessaly::recorder {
struct CRecorderData;
}

namespace tessaly::gui {

class ColorButton;

class CShowParamsDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CShowParamsDlg(recorder::CRecorderData& data, QWidget* parent = nullptr);

  // The copy as the controls have left it.
  const settings::DisplayParamsEdit& Edit() const { return edit_; }

  // Controls carry their numeric id as object name: findChild<QLineEdit*>("1017").

  void accept() override;

 private:
  using TakeOver = std::function<void(const std::string& utf8)>;

  void BuildControls();
  void LayOut();
  void Connect();
  void Open();
  void ShowChannel();
  void TakeText(bool stored);
  // Sets an edit's text and takes it over, also when the text stays the same.
  void Fill(QLineEdit* edit, const std::string& utf8);
  void Bind(QLineEdit* edit, TakeOver takeOver);
  void EnableIntervals();

  recorder::CRecorderData& data_;
  const int language_;
  settings::DisplayParamsEdit edit_;
  QHash<QLineEdit*, TakeOver> takeOvers_;

  QComboBox* showMode_;
  QLineEdit* yMin_;
  QLineEdit* yMax_;
  QCheckBox* autoRange_;
  QCheckBox* showGrid_;
  ColorButton* backColor_;
  ColorButton* gridColor_;
  QCheckBox* showCursor_;
  QComboBox* channel_;
  QComboBox* lineWidth_;
  ColorButton* channelColor_;
  QCheckBox* shown_;
  QLineEdit* name_;
  QLineEdit* unit_;
  QComboBox* unitList_;
  QLineEdit* rangeLow_;
  QLineEdit* rangeHigh_;
  QPushButton* previous_;
  QPushButton* next_;
  QLineEdit* deviceName_;
  QLineEdit* allInterval_;
  QLineEdit* partInterval_;
  QLineEdit* listInterval_;
  QCheckBox* autoInterval_;
  QLabel* intervalNote_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace tessaly::gui
