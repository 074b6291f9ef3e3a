#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <iterator>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "base/format.h"
#include "base/texts.h"
#include "gui_input.h"
#include "recorder/recorder_data.h"
#include "support/sample_fixture.h"
#include "viewer/data_list_dlg.h"
#include "widgets/grid_ctrl.h"

namespace tessaly::gui {
namespace {

using base::TextId;

class RecordingSink : public base::MessageSink {
 public:
  void ShowMessage(const std::string& text) override { said.push_back(text); }
  std::vector<std::string> said;
};

class RecordingProgress : public FillProgressSink {
 public:
  void ReportFillProgress(unsigned step, unsigned steps) override { reports.emplace_back(step, steps); }
  std::vector<std::pair<unsigned, unsigned>> reports;
};

// Sample i: 2024-01-02 03:04:05 plus i seconds; channel k holds i + k / 10
// with one decimal.
record::Sample MakeSample(size_t i) {
  record::Sample s{};
  s.time = record::RecordTime::FromCalendar(2024, 1, 2, 3, 4, 5 + static_cast<int>(i));
  for (int k = 0; k < record::kChannelCount; ++k) {
    s.decimals[k] = 1;
    s.values[k] = static_cast<float>(i) + static_cast<float>(k) / 10.0f;
  }
  return s;
}

class ListPageTest : public ::testing::Test {
 protected:
  ListPageTest() {
    data.messages = &sink;
    for (int k = 0; k < settings::kChannels; ++k) {
      data.channels[k].shown = 1;
      settings::SetChannelName(data.channels[k], "通道" + std::to_string(k + 1));
    }
  }

  // Samples 0 to count - 1 of MakeSample, as `chosen` and loaded.
  void SetSamples(size_t count) {
    chosen.clear();
    for (size_t i = 0; i < count; ++i) chosen.push_back(MakeSample(i));
    Load();
  }
  void Load() { data.samples = tessaly::testing::BufferOf(chosen); }

  std::string Cell(int row, int column) { return page.Grid().GetItemText(row, column).toStdString(); }

  recorder::CRecorderData data;
  std::vector<record::Sample> chosen;
  RecordingSink sink;
  RecordingProgress progress;
  CDataListDlg page{data, &progress};
};

struct IntervalCase {
  size_t count;
  int32_t autoInterval;
  int32_t listInterval;
  int language;
  int32_t expectedInterval;  // listInterval after the fill
  int expectedGridRows;
  std::string lastIndex;  // index text of the last row; empty when there are only headings
  bool message;
};

TEST_F(ListPageTest, IntervalDecidesTheRowsAndTooManyAreCut) {
  const IntervalCase cases[] = {
      {1000, 1, 7, 0, 3, 334, "996", false},
      {499, 1, 7, 0, 1, 500, "498", false},
      {0, 1, 7, 0, 1, 1, "", false},
      {10, 0, 3, 0, 3, 4, "6", false},
      {10, 0, 0, 0, 0, 11, "9", false},  // a bad settings file: every sample
      {10, 0, -4, 0, -4, 11, "9", false},
      {65535, 0, 1, 0, 1, 65536, "65534", false},
      {100000, 0, 1, 0, 1, 65535, "65533", true},
      {100000, 0, 1, 1, 1, 65535, "65533", true},
  };
  for (const IntervalCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.count << " samples, auto " << c.autoInterval << ", interval "
                                      << c.listInterval << ", language " << c.language);
    SetSamples(c.count);
    data.autoInterval = c.autoInterval;
    data.listInterval = c.listInterval;
    data.language = c.language;
    sink.said.clear();
    page.FillList();
    CGridCtrl& grid = page.Grid();
    EXPECT_EQ(data.listInterval, c.expectedInterval);
    EXPECT_EQ(grid.GetRowCount(), c.expectedGridRows);
    EXPECT_EQ(grid.GetColumnCount(), CDataListDlg::kColumns);
    const int last = grid.GetRowCount() - 1;
    EXPECT_EQ(last > 0 ? Cell(last, 0) : "", c.lastIndex);
    EXPECT_EQ(last > 0 ? Cell(last, 2) : "", last > 0 ? c.lastIndex + ".0" : "") << "the row shows that sample";
    // The message is Chinese in both languages.
    const std::vector<std::string> expected =
        c.message ? std::vector<std::string>{base::Text(TextId::ListTooManyRows, base::kChinese)}
                  : std::vector<std::string>{};
    EXPECT_EQ(sink.said, expected);
  }
}

TEST_F(ListPageTest, CellsShowIndexTimeAndValuesAtTheirDecimals) {
  SetSamples(6);
  chosen[3].values[0] = 12.5f;
  chosen[3].decimals[0] = 2;
  chosen[3].values[1] = 1.005f;  // just below 1.005 as a float
  chosen[3].decimals[1] = 2;
  chosen[3].values[2] = -19999.0f;
  chosen[3].decimals[2] = 0;
  chosen[3].values[3] = 45000.0f;
  chosen[3].decimals[3] = 3;
  chosen[4].time = record::RecordTime{record::RecordTimeStatus::Invalid, 0};
  chosen[5].time = record::RecordTime{};
  Load();
  data.autoInterval = 0;
  data.listInterval = 1;
  page.FillList();

  EXPECT_EQ(Cell(4, 0), "3");
  EXPECT_EQ(Cell(4, 1), "2024-01-02 03:04:08");
  EXPECT_EQ(Cell(4, 2), "12.50");
  EXPECT_EQ(Cell(4, 3), "1.00");
  EXPECT_EQ(Cell(4, 4), "-19999");
  EXPECT_EQ(Cell(4, 5), "45000.000");
  EXPECT_EQ(Cell(4, 6), "3.4");
  EXPECT_EQ(Cell(5, 1), "-0001--01--01 -01:-01:-01") << "an invalid time";
  EXPECT_EQ(Cell(6, 1), "-0001--01--01 -01:-01:-01") << "a null time";
}

// Every value cell is what printf makes of "%.*f", also for the
// values and precisions a damaged record can hold.
TEST_F(ListPageTest, ValuesPrintAsTheirPattern) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const std::pair<float, int32_t> cases[] = {
      {12.5f, 2}, {1.005f, 2}, {0.125f, 2}, {0.375f, 2},  {2.5f, 0},      {3.5f, 0},
      {-0.0f, 1}, {-0.04f, 1}, {1e-7f, 15}, {3.0e38f, 3}, {-3.4e38f, 15}, {1.4e-45f, 15},
      {nan, 2},   {-nan, 2},   {inf, 1},    {-inf, 0},    {0.1f, -1},     {123.456f, 100},
  };
  SetSamples(std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    chosen[i].values[0] = cases[i].first;
    chosen[i].decimals[0] = cases[i].second;
  }
  Load();
  data.autoInterval = 1;
  page.FillList();
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(Cell(static_cast<int>(i) + 1, 2),
              base::Format("%.*f", cases[i].second, static_cast<double>(cases[i].first)))
        << cases[i].first << " with " << cases[i].second;
  }
}

TEST_F(ListPageTest, HiddenChannelKeepsAnEmptyColumn) {
  SetSamples(4);
  data.channels[2].shown = 0;
  data.autoInterval = 1;
  page.FillList();
  EXPECT_EQ(Cell(0, 4), "");
  for (int row = 1; row <= 4; ++row) EXPECT_EQ(Cell(row, 4), "") << row;
  EXPECT_EQ(Cell(0, 2), "通道1");
  EXPECT_EQ(Cell(0, 5), "通道4");
  EXPECT_EQ(Cell(2, 5), "1.3") << "channel 4 stays in column 5";
  EXPECT_FALSE(page.Grid().IsItemModified(2, 4));
}

TEST_F(ListPageTest, HeadingsFollowTheLanguage) {
  for (int language : {0, 1, 2}) {
    data.language = language;
    page.FillList();
    const bool known = language == 0 || language == 1;
    EXPECT_EQ(Cell(0, 0), known ? base::Text(TextId::ListIndexHeading, language) : "") << language;
    EXPECT_EQ(Cell(0, 1), known ? base::Text(TextId::ListTimeHeading, language) : "") << language;
    EXPECT_EQ(Cell(0, 19), "通道18") << language;
  }
  EXPECT_NE(base::Text(TextId::ListIndexHeading, 0), std::string(base::Text(TextId::ListIndexHeading, 1)));
}

TEST_F(ListPageTest, ProgressAtTheEndsAndEveryThousandRows) {
  using Reports = std::vector<std::pair<unsigned, unsigned>>;
  const std::pair<size_t, Reports> cases[] = {
      {1, {{0, 1}}},
      {2500, {{0, 2500}, {1000, 2500}, {2000, 2500}, {2499, 2500}}},
      {0, {}},
  };
  data.autoInterval = 0;
  data.listInterval = 1;
  for (const auto& [count, expected] : cases) {
    SetSamples(count);
    progress.reports.clear();
    page.FillList();
    EXPECT_EQ(progress.reports, expected) << count;
  }
}

TEST_F(ListPageTest, PageSetsUpTheGridAsAList) {
  SetSamples(30);
  data.autoInterval = 1;
  page.FillList();
  CGridCtrl& grid = page.Grid();
  EXPECT_EQ(grid.GetRowHeight(0), 30);
  EXPECT_EQ(grid.GetRowHeight(1), 23);
  EXPECT_EQ(grid.GetColumnWidth(1), 150);
  EXPECT_EQ(grid.GetColumnWidth(2), CGridCtrl::kDefaultColumnWidth);
  EXPECT_EQ(grid.model()->rowCount(), 30) << "one heading row";
  EXPECT_EQ(grid.model()->columnCount(), 19) << "one heading column";
}

// Two rows selected with the mouse and Ctrl+C: the clipboard holds their
// time and value cells, tab-separated, the rows separated by CR LF.
TEST_F(ListPageTest, CopiesTwoSelectedRows) {
  SetSamples(5);
  for (int k = 2; k < settings::kChannels; ++k) data.channels[k].shown = 0;
  data.autoInterval = 1;
  page.FillList();
  testing::ShowUnpainted(page, QSize(900, 400));
  CGridCtrl& grid = page.Grid();
  testing::Click(grid, 2, 4);
  testing::Click(grid, 4, 4, Qt::ControlModifier);
  testing::Key(grid, Qt::Key_C, Qt::ControlModifier);

  const std::string hidden(16, '\t');
  const std::string expected = "2024-01-02 03:04:06\t1.0\t1.1" + hidden + "\r\n" + "\t\t" + hidden + "\r\n" +
                               "2024-01-02 03:04:08\t3.0\t3.1" + hidden;
  EXPECT_EQ(QApplication::clipboard()->text().toUtf8().toStdString(), expected);
}

// TESSALY_LIST_PNG=path renders a filled page in each language to
// path-zh.png and path-en.png, to look at.
TEST_F(ListPageTest, RendersToPng) {
  const QString path = qEnvironmentVariable("TESSALY_LIST_PNG");
  if (path.isEmpty()) GTEST_SKIP() << "TESSALY_LIST_PNG not set";
  SetSamples(2000);
  chosen[10].time = record::RecordTime{};
  Load();
  data.channels[2].shown = 0;
  data.autoInterval = 1;
  for (const auto& [language, suffix] : {std::pair{0, "-zh.png"}, {1, "-en.png"}}) {
    data.language = language;
    page.FillList();
    page.resize(1200, 500);
    page.show();
    QApplication::processEvents();
    testing::Click(page.Grid(), 4, 3);
    QApplication::processEvents();
    const QImage image = page.grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(image.save(path + suffix));
  }
}

}  // namespace
}  // namespace tessaly::gui
