#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "gui/support/gui_fixture.h"
#include "viewer/child_frame.h"

namespace tessaly::testing {
namespace {

using gui::Command;

struct Controls {
  QComboBox* mode;
  QLineEdit* sectors;
  QLineEdit* count;
  QCheckBox* autoPaging;
  QPushButton* ok;
  QPushButton* cancel;
};

Controls Find(QDialog& dialog) {
  return {dialog.findChild<QComboBox*>("pageModeList"),  dialog.findChild<QLineEdit*>("sectorsPerPageEdit"),
          dialog.findChild<QLineEdit*>("pageCountEdit"), dialog.findChild<QCheckBox*>("autoPagingCheck"),
          dialog.findChild<QPushButton*>("ok"),          dialog.findChild<QPushButton*>("cancel")};
}

void Type(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

class RecordParamsTest : public GuiTest {
 protected:
  // A viewer on a file of 5000 data sectors, paged by a fixed sector count.
  gui::CChildFrame* OpenFixedSectorsFile() {
    data.autoPaging = 0;
    data.pageMode = 0;
    data.sectorsPerPage = 1024;
    MakeFrame();
    return OpenThroughMenu(WriteRecord("five.D01", 5000));
  }
};

TEST_F(RecordParamsTest, TypedSectorsPerPageShowsThePageCountAndOkRebuildsTheViewersTree) {
  gui::CChildFrame* viewer = OpenFixedSectorsFile();
  ASSERT_NE(viewer, nullptr);
  ASSERT_EQ(viewer->pagingRoot()->childCount(), 5);
  prompts.dialogs.push_back([](QDialog& dialog) {
    Controls c = Find(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("记录读取参数设置"));
    EXPECT_EQ(c.mode->currentIndex(), 0);
    EXPECT_EQ(c.mode->itemText(0), QStringLiteral("固定每页显示扇区数"));
    EXPECT_EQ(c.mode->itemText(1), QStringLiteral("固定分页数"));
    EXPECT_FALSE(c.autoPaging->isChecked());
    EXPECT_EQ(c.sectors->text(), QStringLiteral("1024"));
    EXPECT_EQ(c.count->text(), QStringLiteral("4"));  // 5000 / 1024
    EXPECT_TRUE(c.sectors->isEnabled());
    EXPECT_FALSE(c.count->isEnabled());
    EXPECT_NE(dialog.findChild<QLabel*>("hint"), nullptr);
    Type(c.sectors, "500");
    EXPECT_EQ(c.count->text(), QStringLiteral("10"));
    Type(c.sectors, "abc");  // not a number: the copy keeps 500
    EXPECT_EQ(c.count->text(), QStringLiteral("10"));
    c.ok->click();
    return dialog.result();
  });
  Trigger(Command::RecordReadParams);
  EXPECT_EQ(data.sectorsPerPage, 500u);
  EXPECT_EQ(data.pageCount, 10u);
  EXPECT_EQ(viewer->pagingRoot()->childCount(), 10);
  EXPECT_EQ(viewer->pageTree()->topLevelItem(1), viewer->pagingRoot());
}

TEST_F(RecordParamsTest, PageCountModeAndAutomaticPagingSwitchTheEdits) {
  gui::CChildFrame* viewer = OpenFixedSectorsFile();
  ASSERT_NE(viewer, nullptr);
  prompts.dialogs.push_back([](QDialog& dialog) {
    Controls c = Find(dialog);
    c.mode->setFocus();
    QTest::keyClick(c.mode, Qt::Key_Down);  // the user picks "固定分页数"
    EXPECT_FALSE(c.sectors->isEnabled());
    EXPECT_TRUE(c.count->isEnabled());
    Type(c.count, "8");
    EXPECT_EQ(c.sectors->text(), QStringLiteral("625"));  // 5000 / 8
    c.autoPaging->click();
    EXPECT_FALSE(c.mode->isEnabled());
    EXPECT_FALSE(c.sectors->isEnabled());
    EXPECT_FALSE(c.count->isEnabled());
    c.cancel->click();
    return dialog.result();
  });
  Trigger(Command::RecordReadParams);
  // Cancel: nothing stored, the tree as it was.
  EXPECT_EQ(data.pageMode, 0);
  EXPECT_EQ(data.sectorsPerPage, 1024u);
  EXPECT_EQ(data.autoPaging, 0);
  EXPECT_EQ(viewer->pagingRoot()->childCount(), 5);
}

TEST_F(RecordParamsTest, FromTheMainWindowOkOnlyStoresTheValuesInEnglish) {
  data.language = 1;
  data.autoPaging = 1;
  MakeFrame();
  prompts.dialogs.push_back([](QDialog& dialog) {
    Controls c = Find(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Record Read Params "));
    EXPECT_EQ(c.mode->itemText(1), QStringLiteral("Fix PageCount"));
    EXPECT_EQ(c.autoPaging->text(), QStringLiteral("Auto Set"));
    EXPECT_EQ(c.ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.findChild<QLabel*>("hint"), nullptr);  // the hint is in the Chinese dialog only
    EXPECT_TRUE(c.autoPaging->isChecked());
    c.autoPaging->click();
    EXPECT_TRUE(c.mode->isEnabled());
    Type(c.sectors, "300");
    c.ok->click();
    return dialog.result();
  });
  Trigger(Command::RecordReadParams);
  EXPECT_EQ(prompts.Count("dialog"), 1);
  EXPECT_EQ(data.autoPaging, 0);
  EXPECT_EQ(data.sectorsPerPage, 300u);
  EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
  EXPECT_FALSE(std::filesystem::exists(settingsDir.SettingsFile()));  // written at exit only
}

}  // namespace
}  // namespace tessaly::testing
