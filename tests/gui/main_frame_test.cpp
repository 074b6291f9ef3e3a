#include <QAbstractButton>
#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QTest>
#include <QTreeWidgetItem>
#include <QUrl>
#include <filesystem>

#include "app/about_dlg.h"
#include "app/abrel_corvane_app.h"
#include "app/progress_status_bar.h"
#include "app/true_color_tool_bar.h"
#include "gui/support/gui_fixture.h"
#include "realtime/child_frame2.h"
#include "realtime/data_file.h"
#include "realtime/record_store.h"
#include "record_writer.h"
#include "recorder/recorder_data.h"
#include "settings/settings_file.h"
#include "viewer/child_frame.h"

namespace tessaly::testing {
namespace {

using gui::Command;

constexpr size_t kLanguageOffset = 1180;

// A complete settings file with the given language flag.
void WriteSettingsWithLanguage(int32_t language) {
  recorder::CRecorderData stored;
  settings::ApplyDefaultSettings(stored);
  stored.language = language;
  ASSERT_TRUE(settings::WriteSettings(stored));
}

std::string LanguageName(int32_t language) { return language == 0 ? "Chinese" : "English"; }

struct StartupCase {
  int32_t language;
  QStringList mainMenu;
  QString recordReadTip;
};

class StartupTest : public GuiTest, public ::testing::WithParamInterface<StartupCase> {};

TEST_P(StartupTest, InterfaceComesUpInTheLanguageOfTheFlag) {
  WriteSettingsWithLanguage(GetParam().language);
  gui::CAbrel_CorvaneApp app(data, prompts);
  app.InitInstance({QStringLiteral("tessaly")});
  gui::CMainFrame* main = app.mainFrame();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->windowTitle(), QStringLiteral("Tessaly Software"));
  EXPECT_TRUE(main->isMaximized() || main->windowState().testFlag(Qt::WindowMaximized));
  EXPECT_EQ(DescribeMenus(main->menuBar()), GetParam().mainMenu);
  EXPECT_EQ(main->toolBar()->Button(Command::RecordReadParams)->toolTip(), GetParam().recordReadTip);
  const Command checked = GetParam().language == 0 ? Command::LanguageChinese : Command::LanguageEnglish;
  const Command unchecked = GetParam().language == 0 ? Command::LanguageEnglish : Command::LanguageChinese;
  EXPECT_TRUE(FindCommand(main->menuBar(), checked)->isChecked());
  EXPECT_FALSE(FindCommand(main->menuBar(), unchecked)->isChecked());
}

INSTANTIATE_TEST_SUITE_P(
    Languages, StartupTest,
    ::testing::Values(StartupCase{0,
                                  {"文件(&F)/打开记录文件=57601", "文件(&F)/打开记录文件夹=32803",
                                   "文件(&F)/实时采集页面=32802", "文件(&F)/-", "文件(&F)/退出(&X)=57665",
                                   "参数设置/显示参数=32774", "参数设置/记录读取参数=32776",
                                   "参数设置/语言切换/中文=32811", "参数设置/语言切换/英文=32812",
                                   "帮助(&H)/关于 Tessaly Software(&A)...=57664"},
                                  "记录数据读取参数设置"},
                      StartupCase{1,
                                  {"File(&F)/Open Record File=57601", "File(&F)/Open Record Folder=32803",
                                   "File(&F)/Real-time collection=32802", "File(&F)/-", "File(&F)/Exit(&X)=57665",
                                   "Params Set/Show Params=32774", "Params Set/Record Read Params=32776",
                                   "Params Set/Language/Chinese=32811", "Params Set/Language/English=32812",
                                   "Help(&H)/About Tessaly Software(&A)...=57664"},
                                  "Record read params"}),
    [](const auto& info) { return LanguageName(info.param.language); });

TEST_F(GuiTest, FirstStartCreatesAnEmptySettingsFileAndWritesItWholeAtExit) {
  const std::string file = settingsDir.SettingsFile();
  {
    gui::CAbrel_CorvaneApp app(data, prompts);
    app.InitInstance({QStringLiteral("tessaly")});
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(std::filesystem::file_size(file), 0u);
  }
  EXPECT_EQ(std::filesystem::file_size(file), settings::kSettingsFileSize);
}

TEST_F(GuiTest, ToolBarHasFiveImagesWithTipsAndViewerCommandsOnlyWithAViewer) {
  MakeFrame();
  const QList<QAction*> buttons = frame->toolBar()->actions();
  const Command order[] = {Command::RecordReadParams, Command::ShowParams, Command::SearchByTime,
                           Command::RangeStatistics, Command::AppAbout};
  const QString tips[] = {"记录数据读取参数设置", "显示参数设置", "按时间查询记录", "记录区域统计", "关于"};
  ASSERT_EQ(buttons.size(), 5);
  EXPECT_EQ(frame->toolBar()->iconSize(), QSize(48, 48));
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(buttons[i]->data().toInt(), static_cast<int>(order[i]));
    EXPECT_EQ(buttons[i]->toolTip(), tips[i]);
    const QImage normal = buttons[i]->icon().pixmap(48, 48, QIcon::Normal).toImage();
    const QImage disabled = buttons[i]->icon().pixmap(48, 48, QIcon::Disabled).toImage();
    EXPECT_EQ(normal.size(), QSize(48, 48));
    EXPECT_NE(normal, disabled);
  }
  auto states = [&] {
    return std::make_pair(frame->toolBar()->Button(Command::SearchByTime)->isEnabled(),
                          frame->toolBar()->Button(Command::RangeStatistics)->isEnabled());
  };
  EXPECT_EQ(states(), std::make_pair(false, false));
  EXPECT_TRUE(frame->toolBar()->Button(Command::RecordReadParams)->isEnabled());

  gui::CChildFrame* viewer = OpenThroughMenu(WriteRecord("a.D01", 20));
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(states(), std::make_pair(true, true));
  // While a viewer is active its menu is shown.
  EXPECT_NE(FindCommand(frame->menuBar(), Command::FileClose), nullptr);
  EXPECT_EQ(FindCommand(frame->menuBar(), Command::RealtimeCollection), nullptr);

  Trigger(Command::FileClose);
  ASSERT_TRUE(QTest::qWaitFor([&] { return frame->mdiArea()->subWindowList().isEmpty(); }));
  EXPECT_EQ(states(), std::make_pair(false, false));
  EXPECT_NE(FindCommand(frame->menuBar(), Command::RealtimeCollection), nullptr);
}

TEST_F(GuiTest, StatusBarHasFourPanesWithTheProgressBarsOverPanesZeroAndTwo) {
  MakeFrame();
  gui::CProgressStatusBar* bar = frame->progressStatusBar();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
  EXPECT_EQ(bar->Pane(0)->width(), 300);
  EXPECT_EQ(bar->Pane(1)->width(), 60);
  EXPECT_EQ(bar->Pane(2)->width(), 300);
  EXPECT_GT(bar->Pane(3)->width(), 300);  // the rest of a 1200-pixel bar
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(bar->Pane(i)->text().isEmpty());
  frame->resize(1000, 700);
  ASSERT_TRUE(QTest::qWaitFor([&] { return bar->width() <= 1000; }));
  EXPECT_EQ(bar->loadProgress()->geometry(), bar->Pane(0)->geometry().adjusted(1, 0, -1, 0));
  EXPECT_EQ(bar->fillProgress()->geometry(), bar->Pane(2)->geometry().adjusted(1, 0, -1, 0));
}

struct ProgressCase {
  uint32_t index, total;
  int value;
  QString text;
};

class ProgressTest : public GuiTest, public ::testing::WithParamInterface<ProgressCase> {};

TEST_P(ProgressTest, BarsStandAtTheStepDoneAndPanesShowThePercentOfHundred) {
  MakeFrame();
  gui::CProgressStatusBar* bar = frame->progressStatusBar();
  const ProgressCase& c = GetParam();
  bar->ShowLoadProgress(c.index, c.total);
  EXPECT_EQ(bar->loadProgress()->maximum(), static_cast<int>(c.total));
  EXPECT_EQ(bar->loadProgress()->value(), c.value);
  EXPECT_EQ(bar->Pane(1)->text(), c.text);
  frame->ReportFillProgress(c.index, c.total);
  EXPECT_EQ(bar->fillProgress()->maximum(), static_cast<int>(c.total));
  EXPECT_EQ(bar->fillProgress()->value(), c.value);
  EXPECT_EQ(bar->Pane(3)->text(), c.text);
}

INSTANTIATE_TEST_SUITE_P(Steps, ProgressTest,
                         ::testing::Values(ProgressCase{300, 1000, 301, "30 / 100"}, ProgressCase{0, 1, 1, "100 / 100"},
                                           ProgressCase{0, 3, 1, "33 / 100"}, ProgressCase{499, 500, 500, "100 / 100"},
                                           // (i + 1) x 100 does not overflow 32 bits.
                                           ProgressCase{49999999, 50000000, 50000000, "100 / 100"}),
                         [](const auto& info) {
                           return "Step" + std::to_string(info.param.index) + "Of" + std::to_string(info.param.total);
                         });

struct SwitchCase {
  int32_t from;
  Command command;
  bool restarts;
};

class LanguageSwitchTest : public GuiTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(LanguageSwitchTest, WritesTheFlagClosesAndRestartsOnlyOnAChange) {
  const SwitchCase& c = GetParam();
  data.language = c.from;
  MakeFrame();
  Trigger(c.command);
  const int32_t target = c.command == Command::LanguageChinese ? 0 : 1;
  EXPECT_EQ(data.language, target);
  if (c.restarts) {
    EXPECT_EQ(frame->restartOnClose(), 1);
    const std::string stored = ReadFileBytes(settingsDir.SettingsFile());
    ASSERT_EQ(stored.size(), settings::kSettingsFileSize);
    EXPECT_EQ(stored[kLanguageOffset], static_cast<char>(target));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frame->isVisible(); }));
    EXPECT_EQ(restarts, 1);
  } else {
    QTest::qWait(0);
    EXPECT_EQ(frame->restartOnClose(), 0);
    EXPECT_FALSE(std::filesystem::exists(settingsDir.SettingsFile()));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(restarts, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, LanguageSwitchTest,
                         ::testing::Values(SwitchCase{0, Command::LanguageEnglish, true},
                                           SwitchCase{1, Command::LanguageChinese, true},
                                           SwitchCase{1, Command::LanguageEnglish, false},
                                           SwitchCase{0, Command::LanguageChinese, false}),
                         [](const auto& info) {
                           return LanguageName(info.param.from) + "To" +
                                  LanguageName(info.param.command == Command::LanguageChinese ? 0 : 1);
                         });

TEST_F(GuiTest, AboutBoxShowsIconVersionAndDateWithoutButtonsAndClosesOnEscape) {
  MakeFrame();
  QStringList lines;
  bool escapeClosed = false;
  prompts.dialogs.push_back([&](QDialog& dialog) {
    for (const char* name : {"aboutVersion", "aboutUpdate"})
      lines << dialog.findChild<QLabel*>(QString::fromLatin1(name))->text();
    EXPECT_FALSE(dialog.findChild<QLabel*>(QStringLiteral("aboutIcon"))->pixmap().isNull());
    EXPECT_TRUE(dialog.findChildren<QAbstractButton*>().isEmpty());
    EXPECT_TRUE(dialog.windowTitle().trimmed().isEmpty());
    for (const Qt::WindowType button :
         {Qt::WindowMinimizeButtonHint, Qt::WindowMaximizeButtonHint, Qt::WindowContextHelpButtonHint})
      EXPECT_FALSE(dialog.windowFlags().testFlag(button)) << button;
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    escapeClosed = !dialog.isVisible();
    return dialog.result();
  });
  Trigger(Command::AppAbout);
  EXPECT_EQ(prompts.Count("dialog"), 1);
  EXPECT_EQ(lines, QStringList({"Tessaly V1.12：", "Update: 2015/01/05"}));
  EXPECT_TRUE(escapeClosed);
}

// Data files (any letter case of ".DT") open in a real-time page with their records.
std::string WriteDataFile(const std::string& path, int count) {
  realtime::RecordStore store;
  for (int n = 0; n < count; ++n)
    store.Append(realtime::StampedRecord(record::RecordTime::FromCalendar(2015, 1, 5, 8, 9, 10 + n)));
  EXPECT_TRUE(store.SaveTo(path));
  return path;
}

TEST_F(GuiTest, FilesOnTheCommandLineOrDroppedOpenWhereTheyBelong) {
  const std::string named = WriteRecord("named.D01", 20);
  const std::string namedData = WriteDataFile(files.File("named.DT"), 3);
  sim::RecordSpec later;  // an hour after x.D01's two minutes: the two are consecutive
  later.hour = 9;
  later.sectorCount = 2100;
  const std::string dropped[] = {WriteRecord("x.D01", 20), files.File("y.D02")};
  ASSERT_TRUE(sim::WriteRecordFile(dropped[1], later));
  gui::CAbrel_CorvaneApp app(data, prompts);
  app.InitInstance({QStringLiteral("tessaly"), QString::fromStdString(named), QString::fromStdString(namedData)});
  gui::CMainFrame* main = app.mainFrame();
  EXPECT_EQ(prompts.Count("open"), 0);
  ASSERT_EQ(main->mdiArea()->subWindowList().size(), 2);
  EXPECT_EQ(main->CurrentViewer()->pagingRoot()->childCount(), 1);
  ASSERT_NE(main->ActiveRealtimePage(), nullptr);
  EXPECT_EQ(main->ActiveRealtimePage()->acquisition().records.Size(), 3u);

  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(dropped[0])),
                QUrl::fromLocalFile(QString::fromStdString(dropped[1]))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(main, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(main, &drop);
  // Several files dropped at once open as one record set in one viewer.
  EXPECT_EQ(main->mdiArea()->subWindowList().size(), 3);
  EXPECT_EQ(data.recordPaths, (std::vector<std::string>{dropped[0], dropped[1]}));
  EXPECT_EQ(data.recordSet.FileCount(), 2u);
  EXPECT_EQ(main->CurrentViewer()->pagingRoot()->childCount(), 3);  // 2120 data sectors

  QMimeData dataMime;
  dataMime.setUrls({QUrl::fromLocalFile(QString::fromStdString(WriteDataFile(files.File("dropped.dt"), 2)))});
  QDragEnterEvent dataEnter(QPoint(10, 10), Qt::CopyAction, &dataMime, Qt::LeftButton, {});
  QApplication::sendEvent(main, &dataEnter);
  QDropEvent dataDrop(QPointF(10, 10), Qt::CopyAction, &dataMime, Qt::LeftButton, {});
  QApplication::sendEvent(main, &dataDrop);
  EXPECT_EQ(main->mdiArea()->subWindowList().size(), 4);
  ASSERT_NE(main->ActiveRealtimePage(), nullptr);
  EXPECT_EQ(main->ActiveRealtimePage()->acquisition().records.Size(), 2u);
  EXPECT_TRUE(prompts.Messages().empty());
}

}  // namespace
}  // namespace tessaly::testing
