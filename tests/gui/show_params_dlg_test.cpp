#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstring>

#include <gtest/gtest.h>

#include "dialog_shot.h"
#include "recorder/recorder_data.h"
#include "settings/settings_file.h"
#include "support/record_fixture.h"
#include "viewer/show_params_dlg.h"
#include "widgets/color_button.h"

namespace tessaly::gui {
namespace {

using settings::kChannels;

constexpr const char* kTooLong[] = {"请小于17个字节", "Please less than 17 Bytes"};

class ShowParamsDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings::ApplyDefaultSettings(data);
    data.messages = &sink;
    data.yRangeMin = -12.3456f;
    data.yRangeMax = 99.999f;
    for (int i = 0; i < kChannels; ++i) {
      data.channels[i].rangeLow = 0.126f + static_cast<float>(i);
      data.channels[i].rangeHigh = 50.004f + static_cast<float>(i);
      data.channels[i].unitIndex = i;
    }
    data.partGraphInterval = 3;
    data.listInterval = 4;
    data.autoInterval = 0;
    settings::SetChannelName(data.channels[0], "Flow");
  }

  template <class W>
  W* Control(CShowParamsDlg& dlg, int id) {
    W* widget = dlg.findChild<W*>(QString::number(id));
    EXPECT_NE(widget, nullptr) << "control " << id;
    return widget;
  }
  QLineEdit* Edit(CShowParamsDlg& dlg, int id) { return Control<QLineEdit>(dlg, id); }
  void Click(CShowParamsDlg& dlg, int id) { Control<QAbstractButton>(dlg, id)->click(); }

  recorder::CRecorderData data;
  testing::RecordingSink sink;
};

TEST_F(ShowParamsDlgTest, OkWithoutChangesRoundsTheShownFloatsOfChannelOneOnly) {
  const settings::ChannelInfo second = data.channels[1];
  CShowParamsDlg dlg(data);
  Click(dlg, 1);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(data.yRangeMin, -12.35f);
  EXPECT_EQ(data.yRangeMax, 100.0f);
  EXPECT_EQ(data.channels[0].rangeLow, 0.13f);  // "%.2f" of 0.126f
  EXPECT_EQ(data.channels[0].rangeHigh, 50.0f);
  EXPECT_EQ(0, std::memcmp(&data.channels[1], &second, sizeof second));
  EXPECT_TRUE(sink.said.empty());
}

TEST_F(ShowParamsDlgTest, ShowsTheSettingsInItsControls) {
  data.channels[0].lineWidth = 3;
  data.channels[0].shown = 0;
  data.yAxisMode = 0;
  CShowParamsDlg dlg(data);
  EXPECT_EQ(Edit(dlg, 1017)->text(), "-12.35");
  EXPECT_EQ(Edit(dlg, 1009)->text(), "Flow");
  EXPECT_EQ(Edit(dlg, 1041)->text(), "4");
  EXPECT_EQ(Control<QComboBox>(dlg, 1007)->currentIndex(), 2);
  EXPECT_EQ(Control<QComboBox>(dlg, 1019)->currentText(), "百分比");
  EXPECT_FALSE(Control<QCheckBox>(dlg, 1005)->isChecked());
  EXPECT_EQ(Control<ColorButton>(dlg, 1014)->Color(), data.channels[0].color);
  EXPECT_TRUE(Edit(dlg, 1039)->isReadOnly());
  // The unit list exists with the whole unit table but is never shown.
  dlg.show();
  QComboBox* units = Control<QComboBox>(dlg, 1008);
  EXPECT_EQ(units->count(), 66);
  EXPECT_FALSE(units->isVisible());
  testing::SaveShot(dlg, "show_params_zh");
}

TEST_F(ShowParamsDlgTest, AStoredShowModeOutsideTheListBecomesMinusOne) {
  data.yAxisMode = 7;
  CShowParamsDlg dlg(data);
  EXPECT_EQ(dlg.Edit().settings.yAxisMode, -1);
}

TEST_F(ShowParamsDlgTest, IntervalsTakeOnlyPositiveNumbers) {
  struct Case {
    int id;
    const char* text;
    int32_t settings::DisplaySettings::*field;
    int32_t expected;
  } const cases[] = {
      {1041, "0", &settings::DisplaySettings::listInterval, 4},
      {1041, "-2", &settings::DisplaySettings::listInterval, 4},
      {1041, "x", &settings::DisplaySettings::listInterval, 4},
      {1041, "17", &settings::DisplaySettings::listInterval, 17},
      {1040, "0", &settings::DisplaySettings::partGraphInterval, 3},
      {1040, "250", &settings::DisplaySettings::partGraphInterval, 250},
  };
  for (const Case& c : cases) {
    CShowParamsDlg dlg(data);
    Edit(dlg, c.id)->setText(c.text);
    EXPECT_EQ(dlg.Edit().settings.*c.field, c.expected) << c.id << " \"" << c.text << '"';
  }
  EXPECT_TRUE(sink.said.empty());
}

TEST_F(ShowParamsDlgTest, AutomaticIntervalsDisableTheTwoIntervalEdits) {
  CShowParamsDlg dlg(data);
  QLineEdit* part = Edit(dlg, 1040);
  QLineEdit* list = Edit(dlg, 1041);
  EXPECT_TRUE(part->isEnabled());
  EXPECT_TRUE(list->isEnabled());
  Click(dlg, 1048);
  EXPECT_FALSE(part->isEnabled());
  EXPECT_FALSE(list->isEnabled());
  EXPECT_EQ(dlg.Edit().settings.autoInterval, 1);
  Click(dlg, 1048);
  EXPECT_TRUE(part->isEnabled());
  EXPECT_TRUE(list->isEnabled());
  EXPECT_EQ(dlg.Edit().settings.autoInterval, 0);

  data.autoInterval = 1;
  CShowParamsDlg automatic(data);
  EXPECT_FALSE(Edit(automatic, 1040)->isEnabled());
  EXPECT_FALSE(Edit(automatic, 1041)->isEnabled());
}

TEST_F(ShowParamsDlgTest, NavigationStopsAtChannelsOneAndEighteen) {
  CShowParamsDlg dlg(data);
  QComboBox* channel = Control<QComboBox>(dlg, 1006);
  Click(dlg, 1012);
  EXPECT_EQ(channel->currentIndex(), 0);
  EXPECT_EQ(Edit(dlg, 1010)->text(), "0.13");
  for (int i = 1; i < kChannels; ++i) Click(dlg, 1013);
  EXPECT_EQ(channel->currentIndex(), 17);
  Click(dlg, 1013);
  EXPECT_EQ(dlg.Edit().channel, 17);
  EXPECT_EQ(channel->currentIndex(), 17);
  EXPECT_EQ(Edit(dlg, 1010)->text(), "17.13");
  Click(dlg, 1012);
  EXPECT_EQ(channel->currentIndex(), 16);

  // The list jumps directly, and what it shows is edited.
  channel->setFocus();
  QTest::keyClick(channel, Qt::Key_Home);
  EXPECT_EQ(dlg.Edit().channel, 0);
  Edit(dlg, 1011)->setText("7.5");
  EXPECT_EQ(dlg.Edit().settings.channels[0].rangeHigh, 7.5f);
  EXPECT_EQ(dlg.Edit().settings.channels[16].rangeHigh, 66.0f);  // shown, so rounded
}

TEST_F(ShowParamsDlgTest, TextsLongerThanSixteenGbkBytesAreRefused) {
  struct Case {
    int id;
    const char* accepted;  // at most 16 GBK bytes
    const char* refused;   // 17 bytes
  } const cases[] = {
      {1009, "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOPQ"}, {1009, "温度温度温度温度", "温度温度温度温度x"},
      {1009, "ABCDEFGHIJKLMNO", "ABCDEFGHIJKLMNO温"},  {1021, "压力压力压力压ab", "压力压力压力压abc"},
      {1022, "记录仪记录仪1234", "记录仪记录仪12345"},
  };
  for (int language : {0, 1}) {
    data.language = language;
    for (const Case& c : cases) {
      sink.said.clear();
      CShowParamsDlg dlg(data);
      QLineEdit* edit = Edit(dlg, c.id);
      edit->setText(c.accepted);
      EXPECT_TRUE(sink.said.empty()) << c.accepted;
      edit->setText(c.refused);
      ASSERT_EQ(sink.said.size(), 1u) << c.refused;
      EXPECT_EQ(sink.said[0], kTooLong[language]);
      Click(dlg, 1);
      const std::string stored = c.id == 1009   ? settings::ChannelName(data.channels[0])
                                 : c.id == 1021 ? settings::ChannelUnit(data.channels[0])
                                                : settings::DeviceName(data);
      EXPECT_EQ(stored, c.accepted);
    }
  }
}

TEST_F(ShowParamsDlgTest, EveryChangeRepeatsTheMessageWhileTheTextIsTooLong) {
  CShowParamsDlg dlg(data);
  QLineEdit* name = Edit(dlg, 1009);
  name->setText("0123456789abcdef");
  name->setFocus();
  name->end(false);
  QTest::keyClicks(name, "gh");
  EXPECT_EQ(sink.said.size(), 2u);
  QTest::keyClick(name, Qt::Key_Backspace);
  QTest::keyClick(name, Qt::Key_Backspace);
  EXPECT_EQ(sink.said.size(), 3u);  // back at 16 bytes: accepted again
  EXPECT_EQ(settings::ChannelName(dlg.Edit().Current()), "0123456789abcdef");
}

TEST_F(ShowParamsDlgTest, CancelLeavesEverySettingAsItWas) {
  const settings::DisplaySettings before = data.Display();
  CShowParamsDlg dlg(data);
  Edit(dlg, 1017)->setText("5");
  Edit(dlg, 1041)->setText("9");
  Edit(dlg, 1009)->setText("New");
  Click(dlg, 1072);
  Click(dlg, 1048);
  Click(dlg, 1013);
  Click(dlg, 1005);
  Click(dlg, 2);
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_EQ(0, std::memcmp(&data.Display(), &before, sizeof before));
  EXPECT_EQ(data.autoRange, 0);
}

TEST_F(ShowParamsDlgTest, OkCopiesEveryKindOfControlBack) {
  CShowParamsDlg dlg(data);
  Click(dlg, 1072);                    // auto range
  Click(dlg, 1020);                    // grid off
  Click(dlg, 1050);                    // cursor off
  Click(dlg, 1013);                    // channel 2
  Click(dlg, 1005);                    // hidden
  Edit(dlg, 1010)->setText(" -4.5V");  // leading number only
  Edit(dlg, 1011)->setText("abc");     // no number: 0
  QComboBox* width = Control<QComboBox>(dlg, 1007);
  width->setFocus();
  QTest::keyClick(width, Qt::Key_End);
  Click(dlg, 1);
  EXPECT_EQ(data.autoRange, 1);
  EXPECT_EQ(data.showGrid, 0);
  EXPECT_EQ(data.showCursor, 0);
  EXPECT_EQ(data.channels[1].shown, 0);
  EXPECT_EQ(data.channels[1].rangeLow, -4.5f);
  EXPECT_EQ(data.channels[1].rangeHigh, 0.0f);
  EXPECT_EQ(data.channels[1].lineWidth, 4);
  EXPECT_EQ(data.channels[1].unitIndex, 1);
  EXPECT_EQ(data.channels[0].shown, 1);
}

TEST_F(ShowParamsDlgTest, ColourButtonsOfferAFiveColumnPaletteAndOtherColours) {
  CShowParamsDlg dlg(data);
  dlg.show();
  ColorButton* colour = Control<ColorButton>(dlg, 1014);
  Click(dlg, 1013);  // channel 2
  colour->click();
  ColorPalettePopup* palette = colour->Palette();
  ASSERT_TRUE(palette->isVisible());
  testing::SaveShot(*palette, "color_palette");
  auto* grid = qobject_cast<QGridLayout*>(palette->layout());
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->columnCount(), ColorPalettePopup::kColumns);
  EXPECT_EQ(palette->OtherButton()->text(), "其他颜色");
  // The swatch's colour is taken as 0x00BBGGRR: the red one is 0x0000FF.
  QToolButton* red = palette->Swatches().at(6);
  EXPECT_EQ(red->toolTip(), "#FF0000");
  red->click();
  EXPECT_FALSE(palette->isVisible());
  EXPECT_EQ(dlg.Edit().settings.channels[1].color, 0x0000FFu);

  uint32_t offered = 0;
  ColorButton* back = Control<ColorButton>(dlg, 1015);
  back->chooseOther = [&offered](uint32_t current) -> std::optional<uint32_t> {
    offered = current;
    return 0x123456;
  };
  back->click();
  back->Palette()->OtherButton()->click();
  EXPECT_EQ(offered, data.backColor);
  EXPECT_EQ(back->Color(), 0x123456u);
  ColorButton* grid_colour = Control<ColorButton>(dlg, 1016);
  grid_colour->chooseOther = [](uint32_t) -> std::optional<uint32_t> { return std::nullopt; };
  grid_colour->click();
  grid_colour->Palette()->OtherButton()->click();
  Click(dlg, 1);
  EXPECT_EQ(data.backColor, 0x123456u);
  EXPECT_EQ(data.gridColor, 0xC0C0C0u);  // cancelled: unchanged
  EXPECT_EQ(data.channels[1].color, 0x0000FFu);
}

TEST_F(ShowParamsDlgTest, TheIntervalNoteIsShownInTheChineseDialogOnly) {
  const QString note = "为了保证良好的响应速度和显示效果";
  for (int language : {0, 1}) {
    data.language = language;
    CShowParamsDlg dlg(data);
    dlg.show();
    QLabel* label = nullptr;
    for (QLabel* l : dlg.findChildren<QLabel*>())
      if (l->text().startsWith(note)) label = l;
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->isVisible(), language == 0);
    EXPECT_EQ(dlg.windowTitle(), language == 0 ? "显示参数设置" : "Show Params Set");
    if (language == 1) testing::SaveShot(dlg, "show_params_en");
  }
}

}  // namespace
}  // namespace tessaly::gui
