#include <QApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "chart/ct_chart.h"
#include "gui/support/gui_fixture.h"
#include "output/ext_preview_view.h"
#include "output/print_document.h"
#include "output/print_frame.h"
#include "support/process.h"
#include "viewer/child_frame.h"

namespace tessaly::testing {
namespace {

using gui::Command;
using gui::CPrintFrame;
using gui::ExtPreviewView;

// Everything pdftotext finds in a PDF, and what pdfinfo says of it.
std::string PdfText(const std::string& path) { return RunProcess({"/usr/bin/pdftotext", "-layout", path, "-"}).out; }
std::string PdfInfo(const std::string& path) { return RunProcess({"/usr/bin/pdfinfo", path}).out; }

class PrintPreviewTest : public GuiTest {
 protected:
  // The first page of a 300-sector record loaded, the part window set to 90
  // points, which the list prints on three pages.
  gui::CChildFrame* LoadThreePageList() {
    MakeFrame();
    gui::CChildFrame* viewer = OpenThroughMenu(WriteRecord("rec.D01", 300));
    QTreeWidgetItem* first = viewer->pagingRoot()->child(0);
    QTest::mouseClick(viewer->pageTree()->viewport(), Qt::LeftButton, {}, viewer->LabelRect(first).center());
    EXPECT_TRUE(WaitForIdle());
    data.partFirst = 10;
    data.partEnd = 100;
    return viewer;
  }
  CPrintFrame* OpenPreview(Command command) {
    Trigger(command);
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* f = qobject_cast<CPrintFrame*>(w); f && f->isVisible()) return f;
    return nullptr;
  }
  static ExtPreviewView& Preview(CPrintFrame* f) { return *f->printView()->preview(); }
  static bool Enabled(CPrintFrame* f, Command c) { return Preview(f).Button(c)->isEnabled(); }
  static void Key(CPrintFrame* f, Qt::Key key) { QTest::keyClick(Preview(f).scrollArea(), key); }
  static bool Closes(QPointer<CPrintFrame> f) {
    return QTest::qWaitFor([&] { return f.isNull(); });
  }
};

TEST_F(PrintPreviewTest, ButtonsAndKeysPageThroughAThreePageList) {
  LoadThreePageList();
  QPointer<CPrintFrame> f = OpenPreview(Command::PreviewPartList);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->windowTitle(), QStringLiteral("打印预览"));
  EXPECT_TRUE(f->isModal());
  ExtPreviewView& view = Preview(f);
  const QStringList texts{"打印(&P)...", "下一页(&N)", "前一页(&V)", "两页(&T)",
                          "放大(&I)",    "缩小(&O)",   "关闭(&C)",   "PDF..."};
  const Command commands[] = {Command::PreviewPrint,    Command::PreviewNext,   Command::PreviewPrevious,
                              Command::PreviewTwoPages, Command::PreviewZoomIn, Command::PreviewZoomOut,
                              Command::PreviewClose,    Command::PreviewPdf};
  for (int i = 0; i < texts.size(); ++i) EXPECT_EQ(view.Button(commands[i])->text(), texts[i]);

  EXPECT_EQ(view.PageCount(), 3u);
  const auto state = [&] {
    return std::vector<bool>{Enabled(f, Command::PreviewPrevious), Enabled(f, Command::PreviewNext)};
  };
  EXPECT_EQ(view.CurrentPage(), 1u);
  EXPECT_EQ(state(), (std::vector<bool>{false, true}));
  Key(f, Qt::Key_PageDown);
  EXPECT_EQ(view.CurrentPage(), 2u);
  EXPECT_EQ(state(), (std::vector<bool>{true, true}));
  QTest::mouseClick(view.Button(Command::PreviewNext), Qt::LeftButton);
  EXPECT_EQ(view.CurrentPage(), 3u);
  EXPECT_EQ(state(), (std::vector<bool>{true, false}));
  Key(f, Qt::Key_PageDown);  // nothing past the last page
  EXPECT_EQ(view.CurrentPage(), 3u);
  Key(f, Qt::Key_PageUp);
  EXPECT_EQ(view.CurrentPage(), 2u);
  QTest::mouseClick(view.Button(Command::PreviewPrevious), Qt::LeftButton);
  EXPECT_EQ(view.CurrentPage(), 1u);
  // One or two pages only from the fitted view, which the preview leaves at once.
  EXPECT_FALSE(Enabled(f, Command::PreviewTwoPages));

  Key(f, Qt::Key_Escape);
  EXPECT_TRUE(Closes(f));
}

TEST_F(PrintPreviewTest, PageIsShownAtItsRealSizeAfterClicksAndZoomOut) {
  LoadThreePageList();
  QPointer<CPrintFrame> f = OpenPreview(Command::PreviewPartList);
  ASSERT_TRUE(f);
  ExtPreviewView& view = Preview(f);
  const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Inch).transposed();
  const auto atScale = [&](double scale) {
    return QSize(qRound(a4.width() * view.logicalDpiX() * scale), qRound(a4.height() * view.logicalDpiY() * scale));
  };
  const QSize actual = atScale(1.0);
  EXPECT_EQ(view.Zoom(), ExtPreviewView::kActualSize);
  EXPECT_EQ(view.ScaledPaper(), actual);
  EXPECT_TRUE(Enabled(f, Command::PreviewZoomOut));

  QTest::mouseClick(view.Button(Command::PreviewZoomIn), Qt::LeftButton);
  EXPECT_EQ(view.Zoom(), ExtPreviewView::kLarge);
  EXPECT_EQ(view.ScaledPaper(), atScale(2.5));
  QTest::mouseClick(view.canvas(), Qt::LeftButton, {}, view.PageRect(0).center());
  EXPECT_EQ(view.ScaledPaper(), actual);
  QTest::mouseClick(view.Button(Command::PreviewZoomIn), Qt::LeftButton);
  QTest::mouseClick(view.Button(Command::PreviewZoomIn), Qt::LeftButton);
  EXPECT_EQ(view.Zoom(), ExtPreviewView::kLargest);
  EXPECT_FALSE(Enabled(f, Command::PreviewZoomIn));
  QTest::mouseClick(view.Button(Command::PreviewZoomOut), Qt::LeftButton);
  EXPECT_EQ(view.Zoom(), ExtPreviewView::kActualSize);
  EXPECT_EQ(view.ScaledPaper(), actual);

  // The workspace around a framed white sheet with the table ruled on it.
  const QImage shot = view.canvas()->grab().toImage();
  const QRect page = view.PageRect(0);
  EXPECT_EQ(shot.pixel(page.left() - 2, page.top() + 10), view.palette().color(QPalette::Dark).rgb());
  EXPECT_EQ(shot.pixel(page.left(), page.top() + 10), view.palette().color(QPalette::WindowText).rgb());
  int ink = 0;
  for (int x = page.left() + 4; x < page.right() - 4; ++x)
    ink += shot.pixel(x, page.center().y()) != qRgb(255, 255, 255);
  EXPECT_GT(ink, 20);  // the 21 column rules at least
  f->close();
}

TEST_F(PrintPreviewTest, PrintGoesToTheChosenPrinterAndClosesThePreview) {
  LoadThreePageList();
  const std::string pdf = files.File("printed.pdf");
  prompts.printFile = QString::fromStdString(pdf);
  prompts.printAnswers = {true};
  QPointer<CPrintFrame> f = OpenPreview(Command::PreviewPartList);
  ASSERT_TRUE(f);
  QTest::mouseClick(Preview(f).Button(Command::PreviewPrint), Qt::LeftButton);
  EXPECT_TRUE(Closes(f));
  EXPECT_NE(PdfInfo(pdf).find("Pages:           3\n"), std::string::npos);
  const std::string text = PdfText(pdf);
  EXPECT_NE(text.find("历史数据列表"), std::string::npos);
  EXPECT_NE(text.find("3/3"), std::string::npos);
  EXPECT_NE(text.find("最大值"), std::string::npos);

  // Cancelling the print dialog closes the preview too, printing nothing.
  prompts.printFile = QString::fromStdString(files.File("cancelled.pdf"));
  QPointer<CPrintFrame> again = OpenPreview(Command::PreviewPartList);
  ASSERT_TRUE(again);
  QTest::mouseClick(Preview(again).Button(Command::PreviewPrint), Qt::LeftButton);
  EXPECT_TRUE(Closes(again));
  EXPECT_FALSE(std::filesystem::exists(files.File("cancelled.pdf")));
}

TEST_F(PrintPreviewTest, PdfButtonSavesTheDocumentAndKeepsThePreview) {
  LoadThreePageList();
  const std::string pdf = files.File("saved.pdf");
  prompts.paths.push_back(QString::fromStdString(pdf));
  QPointer<CPrintFrame> f = OpenPreview(Command::PreviewPartGraph);
  ASSERT_TRUE(f);
  EXPECT_FALSE(Enabled(f, Command::PreviewNext));
  EXPECT_FALSE(Enabled(f, Command::PreviewPrevious));
  QTest::mouseClick(Preview(f).Button(Command::PreviewPdf), Qt::LeftButton);
  EXPECT_EQ(prompts.asked.back().kind, "save");
  const std::string info = PdfInfo(pdf);
  EXPECT_NE(info.find("Pages:           1\n"), std::string::npos);
  EXPECT_NE(info.find("842 x 595 pts (A4)"), std::string::npos);
  EXPECT_NE(PdfText(pdf).find("历史曲线打印"), std::string::npos);
  EXPECT_FALSE(f.isNull());
  f->close();
}

TEST_F(PrintPreviewTest, PreviewWhileALoadRunsShowsTheBusyMessage) {
  gui::CChildFrame* viewer = LoadThreePageList();
  probe->HoldNextLoad();
  QTest::mouseClick(viewer->pageTree()->viewport(), Qt::LeftButton, {},
                    viewer->LabelRect(viewer->pagingRoot()->child(0)).center());
  ASSERT_TRUE(probe->WaitUntilHeld());
  EXPECT_EQ(OpenPreview(Command::PreviewPartList), nullptr);
  EXPECT_EQ(prompts.Messages().back(), "系统忙，请稍后再试");
  probe->Release();
  EXPECT_TRUE(WaitForIdle());
}

TEST_F(PrintPreviewTest, PartGraphPictureLeavesLegendAndCursorLinesOut) {
  gui::CTChart chart;
  chart.resize(600, 400);
  const int series = chart.AddLineSeries();
  chart.SetSeriesTitle(series, QStringLiteral("CH1"));
  for (int i = 0; i < 50; ++i) chart.AddPoint(series, i % 7, QStringLiteral("p"), 0x0000FF);
  const int cursor = chart.AddTool(gui::ChartTool::Cursor);
  chart.SetCursorLinesVisible(cursor, true);
  chart.SetPanelColour(0x202020);
  const QImage picture = gui::PartGraphPicture(chart, cursor);
  EXPECT_EQ(picture.size(), QSize(800, 500));
  EXPECT_TRUE(chart.LegendVisible());
  EXPECT_TRUE(chart.CursorLinesVisible(cursor));
  EXPECT_EQ(chart.PanelColour(), 0x202020u);
  chart.SetLegendVisible(false);
  EXPECT_EQ(picture, chart.RenderImage(QSize(800, 500), 0xFFFFFFu));
}

TEST_F(PrintPreviewTest, DesktopProgramWritesThePdfWithoutAWindow) {
  const std::string record = WriteRecord("big.D01", 3000);
  const std::string list = files.File("list.pdf"), graph = files.File("graph.pdf");
  const ProcessResult l = RunProcess({TESSALY_GUI_PATH, "--pdf", list, "--document", "list", record});
  ASSERT_EQ(l.exitCode, 0) << l.err;
  EXPECT_NE(PdfInfo(list).find("Pages:           8\n"), std::string::npos);
  const std::string text = PdfText(list);
  // Page 1 of 6144 samples: the band over all-graph points 212 to 259 at A = 13, P = 2: points 1378 to 1682.
  EXPECT_NE(text.find("2756"), std::string::npos);
  EXPECT_NE(text.find("1/8"), std::string::npos);
  EXPECT_NE(text.find("8/8"), std::string::npos);
  const ProcessResult g = RunProcess({TESSALY_GUI_PATH, "--pdf", graph, "--document", "graph", "--page", "2", record});
  ASSERT_EQ(g.exitCode, 0) << g.err;
  EXPECT_NE(PdfInfo(graph).find("Pages:           1\n"), std::string::npos);
  EXPECT_NE(PdfText(graph).find("历史曲线打印"), std::string::npos);

  const ProcessResult missing =
      RunProcess({TESSALY_GUI_PATH, "--pdf", list, "--document", "list", "--page", "4", record});
  EXPECT_EQ(missing.exitCode, 1);
  const std::string message = "tessaly: 第 4 页不存在（共 3 页）\n";
  EXPECT_EQ(missing.err.substr(missing.err.size() - std::min(missing.err.size(), message.size())), message);
}

}  // namespace
}  // namespace tessaly::testing
