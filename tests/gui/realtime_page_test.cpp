#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "app/progress_status_bar.h"
#include "app/true_color_tool_bar.h"
#include "base/gbk.h"
#include "chart/ct_chart.h"
#include "gui/support/gui_fixture.h"
#include "instrument.h"
#include "instrument_server.h"
#include "realtime/child_frame2.h"
#include "realtime/data_file.h"
#include "realtime/ih_list_box.h"
#include "realtime/realtime_set_dlg.h"
#include "record/record_time.h"
#include "support/workbook_cells.h"
#include "widgets/spin_buttons.h"
#include "widgets/splitter_ctrl.h"

namespace tessaly::testing {
namespace {

using gui::CChildFrame2;
using gui::Command;
using Dlg = gui::CRealtimeSetDlg;
using realtime::RealtimeRecord;

constexpr int kWaitMs = 20000;
// The port the tests map to the simulated instrument.
constexpr int kTestPort = 42;

class RealtimePageTest : public GuiTest {
 protected:
  ~RealtimePageTest() override {
    // Pages stop before the instrument goes.
    if (frame)
      for (QMdiSubWindow* subWindow : frame->mdiArea()->subWindowList())
        if (auto* page = qobject_cast<CChildFrame2*>(subWindow->widget())) page->StopAcquisition();
    unsetenv("TESSALY_COM42");
    unsetenv("TESSALY_COM43");
  }

  CChildFrame2* OpenPage() {
    if (!frame) MakeFrame();
    // While a page is active its own menu, without the command, is shown.
    if (FindCommand(frame->menuBar(), Command::RealtimeCollection))
      Trigger(Command::RealtimeCollection);
    else
      frame->OnCommand(Command::RealtimeCollection);
    return frame->CurrentRealtimePage();
  }

  // A simulated instrument as COM `port` (a port serves one page); polls as
  // fast as it answers.
  void Connect(const sim::InstrumentOptions& options = {}, int port = kTestPort) {
    servers.push_back(std::make_unique<sim::InstrumentServer>(options));
    std::string error;
    ASSERT_TRUE(servers.back()->Open(error)) << error;
    servers.back()->Start();
    MapPort(servers.back()->DevicePath(), port);
  }
  void MapPort(const std::string& path, int port = kTestPort) {
    setenv(("TESSALY_COM" + std::to_string(port)).c_str(), path.c_str(), 1);
    data.comPort = port;
    data.deviceAddress = 1;
    data.pollIntervalMs = 0;
  }

  template <class W = QPushButton>
  W* Control(CChildFrame2* page, int id) {
    W* control = page->panel()->findChild<W*>(QString::number(id));
    EXPECT_NE(control, nullptr) << id;
    return control;
  }
  void Click(CChildFrame2* page, int id) { Control(page, id)->click(); }
  QLineEdit* Field(CChildFrame2* page, int id) { return Control<QLineEdit>(page, id); }

  // Receive folder = files folder, through Browse.
  void ReceiveIntoFiles(CChildFrame2* page) {
    prompts.paths.push_back(QString::fromStdString(files.path().string()));
    Click(page, Dlg::kBrowse);
  }
  bool WaitForRecords(CChildFrame2* page, size_t count) {
    return QTest::qWaitFor([&] { return page->acquisition().records.Size() >= count; }, kWaitMs);
  }
  bool WaitForIdle(CChildFrame2* page) {
    return QTest::qWaitFor([&] { return page->acquisition().idle.load() == 1; }, kWaitMs);
  }
  bool SettingsEnabled(CChildFrame2* page) {
    bool all = true, none = true;
    for (int id :
         {Dlg::kPortList, Dlg::kBaudList, Dlg::kParityList, Dlg::kAddressField, Dlg::kAddressSpin, Dlg::kIntervalField,
          Dlg::kIntervalSpin, Dlg::kPathField, Dlg::kChannelCountSpin, Dlg::kChannelCountField}) {
      const bool enabled = page->panel()->findChild<QWidget*>(QString::number(id))->isEnabled();
      all = all && enabled;
      none = none && !enabled;
    }
    EXPECT_TRUE(all || none) << "the ten controls change together";
    return all;
  }
  // `count` records a second apart from 2015-01-05 08:09:10; channel c of record n holds n * 10 + c.
  std::string WriteDataFile(const std::string& name, int count) {
    realtime::RecordStore store;
    for (int n = 0; n < count; ++n) {
      RealtimeRecord r = realtime::StampedRecord(record::RecordTime::FromCalendar(2015, 1, 5, 8, 9, 10 + n));
      for (int c = 0; c < 18; ++c) r.values[c] = static_cast<float>(n * 10 + c);
      store.Append(r);
    }
    const std::string path = files.File(name);
    EXPECT_TRUE(store.SaveTo(path));
    return path;
  }

  std::vector<std::unique_ptr<sim::InstrumentServer>> servers;
};

TEST_F(RealtimePageTest, EachCommandOpensAPageWithItsMenuSplitterAndChart) {
  CChildFrame2* first = OpenPage();
  CChildFrame2* page = OpenPage();
  ASSERT_NE(page, nullptr);
  EXPECT_NE(page, first);
  EXPECT_EQ(data.childKind, 1);
  EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 2);
  QMdiSubWindow* subWindow = frame->mdiArea()->currentSubWindow();
  EXPECT_TRUE(subWindow->isMaximized());
  EXPECT_FALSE(subWindow->windowFlags() & Qt::WindowSystemMenuHint);
  EXPECT_EQ(DescribeMenus(frame->menuBar()),
            (QStringList{"文件(&F)/关闭(&C)=57602", "文件(&F)/-", "文件(&F)/退出(&X)=57665",
                         "帮助(&H)/关于 Tessaly Software(&A)...=57664"}));
  EXPECT_FALSE(frame->toolBar()->Button(Command::SearchByTime)->isEnabled());
  EXPECT_FALSE(frame->toolBar()->Button(Command::RangeStatistics)->isEnabled());

  // Chart 80 %, panel 20 %, also after a resize.
  for (int width : {1000, 1500}) {
    page->splitter()->resize(width, 600);
    QApplication::processEvents();
    EXPECT_NEAR(page->chart()->width() + gui::SplitterCtrl::kBarWidth, width * 0.8, 2) << width;
    EXPECT_NEAR(page->splitter()->Pane(1)->width(), width * 0.2, 2) << width;
  }
  gui::CTChart* chart = page->chart();
  EXPECT_EQ(chart->PanelColour(), 0xC0C0C0u);
  EXPECT_TRUE(chart->LegendVisible());
  EXPECT_TRUE(chart->GridVisible(gui::ChartAxis::Left));
  EXPECT_TRUE(chart->GridVisible(gui::ChartAxis::Bottom));
  EXPECT_TRUE(chart->LeftAxisAutomatic());
  EXPECT_EQ(chart->PointsPerPage(), 500);
  ASSERT_EQ(chart->SeriesCount(), 18);
  for (int i = 0; i < 18; ++i) EXPECT_EQ(chart->SeriesTitle(i), QStringLiteral("CH%1").arg(i + 1));

  // File > Close closes the active page only.
  Trigger(Command::FileClose);
  ASSERT_TRUE(QTest::qWaitFor([&] { return frame->mdiArea()->subWindowList().size() == 1; }));
}

TEST_F(RealtimePageTest, PanelStartsFromTheSettingsInEitherLanguage) {
  struct Case {
    int language;
    QString start, parityOdd, browse;
  };
  for (const Case& c : {Case{0, "开始采集", "奇校验", "浏览..."}, Case{1, "Start", "Odd", "Browse..."}}) {
    SCOPED_TRACE(c.language);
    frame.reset();
    data.language = c.language;
    data.comPort = 0;  // as after a new settings file
    data.baudIndex = 3;
    data.parityIndex = 1;
    data.deviceAddress = 7;
    data.pollIntervalMs = 1'000'000;
    CChildFrame2* page = OpenPage();
    EXPECT_EQ(Control(page, Dlg::kStart)->text(), c.start);
    EXPECT_EQ(Control(page, Dlg::kBrowse)->text(), c.browse);
    auto* ports = Control<QComboBox>(page, Dlg::kPortList);
    EXPECT_EQ(ports->count(), 99);
    EXPECT_EQ(ports->itemText(98), "COM99");
    EXPECT_EQ(ports->currentIndex(), -1);
    EXPECT_EQ(Control<QComboBox>(page, Dlg::kBaudList)->currentText(), "19200");
    EXPECT_EQ(Control<QComboBox>(page, Dlg::kParityList)->currentText(), c.parityOdd);
    EXPECT_EQ(Field(page, Dlg::kAddressField)->text(), "7");
    EXPECT_TRUE(Field(page, Dlg::kAddressField)->isReadOnly());
    // 1000 s reads back whole: the field shows no digit grouping.
    EXPECT_EQ(Field(page, Dlg::kIntervalField)->text(), "1000");
    EXPECT_EQ(data.pollIntervalMs, 1'000'000);
    EXPECT_EQ(Field(page, Dlg::kChannelCountField)->text(), "18");
    EXPECT_EQ(Control<gui::SpinButtons>(page, Dlg::kChannelCountSpin)->Position(), 1);
    EXPECT_EQ(Field(page, Dlg::kPointsPerPageField)->text(), "500");
    EXPECT_EQ(Field(page, Dlg::kAutoSaveField)->text(), "60");
    EXPECT_FALSE(Control<QCheckBox>(page, Dlg::kAutoFollow)->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(page, Dlg::kAutoSave)->isChecked());
    const std::string home = realtime::DefaultReceiveFolder();
    EXPECT_EQ(page->panel()->receiveFolder(), home);
    EXPECT_EQ(Field(page, Dlg::kPathField)->text().toStdString(), home + "temp.DT");
    EXPECT_EQ(page->panel()->savePath(), home + "temp.DT");
    auto* log = Control<gui::CIHListBox>(page, Dlg::kLog);
    EXPECT_EQ(log->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(log->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  }
}

TEST_F(RealtimePageTest, ControlsWriteTheirSettingsAsTheyChange) {
  CChildFrame2* page = OpenPage();
  Control<QComboBox>(page, Dlg::kPortList)->setCurrentIndex(4);
  Control<QComboBox>(page, Dlg::kBaudList)->setCurrentIndex(1);
  Control<QComboBox>(page, Dlg::kParityList)->setCurrentIndex(2);
  EXPECT_EQ(data.comPort, 5);
  EXPECT_EQ(data.baudIndex, 1);
  EXPECT_EQ(data.parityIndex, 2);
  const int address = data.deviceAddress;
  Control<gui::SpinButtons>(page, Dlg::kAddressSpin)->UpButton()->click();
  EXPECT_EQ(data.deviceAddress, address + 1);
  QLineEdit* interval = Field(page, Dlg::kIntervalField);
  interval->setText("3600");
  EXPECT_EQ(data.pollIntervalMs, 3'600'000);
  Control<gui::SpinButtons>(page, Dlg::kIntervalSpin)->SetPosition(1200);
  EXPECT_EQ(interval->text(), "1200");
  EXPECT_EQ(data.pollIntervalMs, 1'200'000);
  Field(page, Dlg::kPathField)->setText("/somewhere/x.DT");
  EXPECT_EQ(page->panel()->savePath(), "/somewhere/x.DT");

  // Browse: the chosen folder with a "/" added; cancelled, the field is renewed all the same.
  prompts.paths.push_back(QString::fromStdString(files.path().string()));
  Click(page, Dlg::kBrowse);
  ASSERT_EQ(prompts.asked.back().kind, "folder");
  EXPECT_EQ(prompts.asked.back().text, "修改接收路径");
  const std::string folder = files.path().string() + "/";
  EXPECT_EQ(page->panel()->receiveFolder(), folder);
  EXPECT_EQ(page->panel()->savePath(), folder + "temp.DT");
  Field(page, Dlg::kPathField)->setText("/elsewhere.DT");
  Click(page, Dlg::kBrowse);
  EXPECT_EQ(Field(page, Dlg::kPathField)->text().toStdString(), folder + "temp.DT");

  // Paging buttons drive the chart.
  gui::CTChart* chart = page->chart();
  for (int i = 0; i < 250; ++i) chart->AddPoint(0, i, "t", 0xFF);
  Field(page, Dlg::kPointsPerPageField)->setText("100");
  Click(page, Dlg::kSetPointsPerPage);
  EXPECT_EQ(chart->PointsPerPage(), 100);
  Click(page, Dlg::kNextPage);
  EXPECT_EQ(chart->CurrentPage(), 2);
  Click(page, Dlg::kPreviousPage);
  EXPECT_EQ(chart->CurrentPage(), 1);
}

TEST_F(RealtimePageTest, StartAcquiresTheInstrumentsValuesIntoStoreChartAndLog) {
  Connect();
  CChildFrame2* page = OpenPage();
  ReceiveIntoFiles(page);
  Control<QCheckBox>(page, Dlg::kAutoFollow)->setChecked(true);
  Field(page, Dlg::kChannelCountField)->setText("4");
  Click(page, Dlg::kStart);
  EXPECT_FALSE(SettingsEnabled(page));
  ASSERT_TRUE(WaitForRecords(page, 3));
  const std::string device = files.path().string() + "/设备001/";
  EXPECT_TRUE(std::filesystem::is_directory(device));
  EXPECT_EQ(page->panel()->savePath().rfind(device, 0), 0u);
  EXPECT_TRUE(realtime::HasDataExtension(page->panel()->savePath()));

  Click(page, Dlg::kStop);
  EXPECT_TRUE(SettingsEnabled(page));
  ASSERT_TRUE(WaitForIdle(page));
  const std::vector<RealtimeRecord> records = page->acquisition().records.Snapshot();
  gui::CTChart* chart = page->chart();
  ASSERT_EQ(chart->PointCount(0), static_cast<int>(records.size()));
  for (size_t n = 0; n < records.size(); ++n) {
    for (int c = 0; c < 4; ++c) {
      EXPECT_EQ(records[n].values[c], sim::Instrument::ChannelValue(c, n)) << n << " " << c;
      EXPECT_EQ(chart->PointValue(c, static_cast<int>(n)), records[n].values[c]);
    }
    EXPECT_EQ(chart->PointLabel(0, static_cast<int>(n)).toStdString(),
              realtime::PointLabel(realtime::RecordFields(records[n])));
  }
  for (int c = 4; c < 18; ++c) EXPECT_EQ(chart->PointCount(c), 0);
  EXPECT_EQ(chart->CurrentPage(), chart->PageCount());
  auto* log = Control<gui::CIHListBox>(page, Dlg::kLog);
  EXPECT_GE(log->count(), 2);
  EXPECT_EQ(log->count(), static_cast<int>(log->Lines().Lines().size()));
  EXPECT_TRUE(prompts.Messages().empty());

  // Manual save writes the store, read back the same bytes.
  Click(page, Dlg::kManualSave);
  const auto saved = realtime::ReadDataFile(page->panel()->savePath());
  ASSERT_TRUE(saved.has_value());
  ASSERT_EQ(saved->size(), records.size());
  EXPECT_EQ(std::memcmp(saved->data(), records.data(), records.size() * sizeof(RealtimeRecord)), 0);

  // A typed channel count beyond 18 is used as 18 and shown so.
  Field(page, Dlg::kChannelCountField)->setText("25");
  Click(page, Dlg::kStart);
  EXPECT_EQ(Field(page, Dlg::kChannelCountField)->text(), "18");
  ASSERT_TRUE(WaitForRecords(page, 1));
  Click(page, Dlg::kStop);
  ASSERT_TRUE(WaitForIdle(page));
  EXPECT_EQ(page->acquisition().channelCount.load(), 18);
  EXPECT_GT(chart->PointCount(17), 0);
}

TEST_F(RealtimePageTest, StartWhileTheStoppedWorkerStillPausesIsBusyAndClosingEndsIt) {
  Connect();
  CChildFrame2* page = OpenPage();
  ReceiveIntoFiles(page);
  data.pollIntervalMs = 600'000;
  Click(page, Dlg::kStart);
  ASSERT_TRUE(WaitForRecords(page, 1));
  Click(page, Dlg::kStop);
  Click(page, Dlg::kStart);
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{"系统忙，请稍后再试"});
  // Start has cleared the store and renewed the path all the same.
  EXPECT_EQ(page->acquisition().records.Size(), 0u);
  EXPECT_EQ(page->acquisition().idle.load(), 0);

  // Closing the page cuts the pause short and waits for the worker.
  QPointer<CChildFrame2> closing = page;
  Trigger(Command::FileClose);
  EXPECT_EQ(closing->acquisition().idle.load(), 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return closing.isNull(); }));
}

TEST_F(RealtimePageTest, ClosingDuringFastAcquisitionKeepsTheStoreAndNeverDeadlocks) {
  Connect();
  CChildFrame2* first = OpenPage();
  ReceiveIntoFiles(first);
  Click(first, Dlg::kStart);
  ASSERT_TRUE(WaitForRecords(first, 3));
  // The worker is mostly waiting for this thread now; the close releases it.
  const size_t before = first->acquisition().records.Size();
  first->close();
  EXPECT_EQ(first->acquisition().idle.load(), 1);
  EXPECT_GE(first->acquisition().records.Size(), before);

  // Two pages acquire at once, each into its own store; closing the program stops both.
  CChildFrame2* a = OpenPage();
  ReceiveIntoFiles(a);
  Click(a, Dlg::kStart);
  ASSERT_TRUE(WaitForRecords(a, 2));
  CChildFrame2* b = OpenPage();
  ReceiveIntoFiles(b);
  Connect({}, kTestPort + 1);
  Click(b, Dlg::kStart);
  ASSERT_TRUE(WaitForRecords(b, 2));
  EXPECT_EQ(a->acquisition().idle.load(), 0);
  QPointer<CChildFrame2> pa = a, pb = b;
  frame->close();
  ASSERT_TRUE(pa && pb) << "the pages go with the frame";
  EXPECT_EQ(pa->acquisition().idle.load(), 1);
  EXPECT_EQ(pb->acquisition().idle.load(), 1);
}

TEST_F(RealtimePageTest, AWorkerThatEndsByItselfLeavesTheControlsDisabledUntilStop) {
  struct Case {
    const char* name;
    bool silent;
    std::string message;
  };
  for (const Case& c : {Case{"wrong port", false, "串口初始化失败"}, Case{"silent instrument", true, "同步失败"}}) {
    SCOPED_TRACE(c.name);
    prompts.asked.clear();
    if (c.silent) {
      sim::InstrumentOptions silent;
      silent.silentAfter = 0;
      Connect(silent);
    } else {
      MapPort(files.File("no-such-port"));
    }
    CChildFrame2* page = OpenPage();
    ReceiveIntoFiles(page);
    Click(page, Dlg::kStart);
    ASSERT_TRUE(WaitForIdle(page));
    EXPECT_EQ(prompts.Messages(), std::vector<std::string>{c.message});
    EXPECT_FALSE(SettingsEnabled(page));
    Click(page, Dlg::kStop);
    EXPECT_TRUE(SettingsEnabled(page));
  }
}

TEST_F(RealtimePageTest, AutoSaveRefusesPeriodsOutsideFiveSecondsToThirtyDays) {
  CChildFrame2* page = OpenPage();
  auto* box = Control<QCheckBox>(page, Dlg::kAutoSave);
  QLineEdit* field = Field(page, Dlg::kAutoSaveField);
  struct Case {
    const char* seconds;
    int64_t periodMs;  // 0: refused
  };
  for (const Case& c : {Case{"4", 0}, Case{"2592001", 0}, Case{"5", 5000}, Case{"2592000", 2'592'000'000}}) {
    SCOPED_TRACE(c.seconds);
    prompts.asked.clear();
    field->setText(c.seconds);
    box->click();
    EXPECT_TRUE(box->isChecked());
    EXPECT_FALSE(field->isEnabled());
    EXPECT_FALSE(Field(page, Dlg::kPathField)->isEnabled());
    EXPECT_EQ(page->panel()->autoSavePeriodMs(), c.periodMs);
    EXPECT_EQ(prompts.Messages(),
              c.periodMs ? std::vector<std::string>{} : std::vector<std::string>{"自动保存时间超过限制"});
    box->click();
    EXPECT_TRUE(field->isEnabled());
    EXPECT_EQ(page->panel()->autoSavePeriodMs(), 0);
  }

  // The timer's save is the manual one: ".DT" added to a path without it.
  const std::string path = files.File("data.dt");
  Field(page, Dlg::kPathField)->setText(QString::fromStdString(path));
  page->acquisition().records.Append(RealtimeRecord{});
  page->panel()->OnTimer();
  EXPECT_EQ(Field(page, Dlg::kPathField)->text().toStdString(), path + ".DT");
  EXPECT_EQ(ReadFileBytes(path + ".DT").size(), sizeof(RealtimeRecord));
}

TEST_F(RealtimePageTest, OpenDataFileFillsStoreAndAllSeriesAndClearDataEmptiesThem) {
  CChildFrame2* page = OpenPage();
  const std::string path = WriteDataFile("three.DT", 3);
  AppendToFile(path, std::string(16, 'x'));  // a remainder is ignored
  prompts.paths.push_back(QString::fromStdString(path));
  Click(page, Dlg::kOpenDataFile);
  EXPECT_EQ(prompts.asked.back().text, "(*.DT)");
  ASSERT_EQ(page->acquisition().records.Size(), 3u);
  gui::CTChart* chart = page->chart();
  for (int c = 0; c < 18; ++c) {
    ASSERT_EQ(chart->PointCount(c), 3);
    EXPECT_EQ(chart->PointValue(c, 2), 20 + c);
  }
  EXPECT_EQ(chart->PointLabel(5, 1), "2015-01-05 08:09:11");

  prompts.paths.push_back(QString::fromStdString(files.File("missing.DT")));
  Click(page, Dlg::kOpenDataFile);
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{"Open Index File Error"});
  EXPECT_EQ(page->acquisition().records.Size(), 3u);

  // The public way in opens the same.
  page->OpenDataFile(QString::fromStdString(WriteDataFile("one.DT", 1)));
  EXPECT_EQ(chart->PointCount(17), 1);

  Click(page, Dlg::kClearData);
  EXPECT_EQ(page->acquisition().records.Size(), 0u);
  for (int c = 0; c < 18; ++c) EXPECT_EQ(chart->PointCount(c), 0);
}

TEST_F(RealtimePageTest, ExportsWriteTheStoreWithTheShownSeriesAndReportProgress) {
  for (int c = 0; c < 18; ++c) settings::SetChannelName(data.channels[c], "通道" + std::to_string(101 + c).substr(1));
  CChildFrame2* page = OpenPage();
  page->OpenDataFile(QString::fromStdString(WriteDataFile("two.DT", 2)));
  page->chart()->SetSeriesShown(1, false);

  const std::string csv = files.File("rt.csv");
  prompts.paths.push_back(QString::fromStdString(csv));
  Click(page, Dlg::kExportCsv);
  EXPECT_EQ(prompts.asked.back().text, "(*.csv)");
  const std::string text = base::GbkToUtf8(ReadFileBytes(csv));
  EXPECT_EQ(text.substr(0, text.find("\r\n")),
            "序号,时间,通道01,,通道03,通道04,通道05,通道06,通道07,通道08,通道09,"
            "通道10,通道11,通道12,通道13,通道14,通道15,通道16,通道17,通道18");
  EXPECT_NE(text.find("\r\n1,2015-01-05 08-09-11,10.000000,,12.000000,"), std::string::npos);
  EXPECT_EQ(frame->progressStatusBar()->Pane(3)->text(), "100 / 100");

  const std::string book = files.File("rt.xlsx");
  prompts.paths.push_back(QString::fromStdString(book));
  Click(page, Dlg::kExportExcel);
  auto cells = WorkbookCells(book);
  EXPECT_EQ(cells["A1"], "序号");
  EXPECT_EQ(cells["C1"], "通道01");
  EXPECT_EQ(cells.count("D1"), 0u);
  EXPECT_EQ(cells["B3"], "2015-01-05 08-09-11");
  EXPECT_EQ(cells["T3"], "27.000000");

  // Cancelled, nothing is written; into a missing folder, the open failure is told.
  Click(page, Dlg::kExportCsv);
  prompts.paths.push_back(QString::fromStdString(files.File("missing/x.csv")));
  Click(page, Dlg::kExportCsv);
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{"文件打开失败"});
}

}  // namespace
}  // namespace tessaly::testing
