#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "base/gbk.h"
#include "output/realtime_export.h"
#include "realtime/data_file.h"
#include "realtime/record_store.h"
#include "record/record_time.h"
#include "support/temp_dir.h"
#include "support/workbook_cells.h"

namespace tessaly::output {
namespace {

using realtime::RealtimeRecord;
using tessaly::testing::ReadFileBytes;
using tessaly::testing::TempDir;

TEST(RealtimeCsv, WritesEveryRecordWithTheShownChannelsOnly) {
  realtime::RecordStore store;
  RealtimeRecord first = realtime::StampedRecord(record::RecordTime::FromCalendar(2015, 1, 5, 8, 9, 10));
  first.values[0] = 3.0f;
  first.values[2] = -1.25f;
  RealtimeRecord invalid{};
  invalid.timeStatus = 1;
  invalid.values[0] = 45000.0f;
  store.Append(first);
  store.Append(invalid);

  RealtimeColumns columns;
  columns.names[0] = "温度";
  columns.names[1] = "hidden";
  columns.names[2] = "CH3";
  // Channel 2 is hidden; channels 4 to 18 are shown with empty names.
  columns.active = [](int channel) { return channel != 1; };
  std::vector<std::pair<uint32_t, uint32_t>> steps;
  TempDir dir;
  const std::string path = dir.File("rt.csv");
  ASSERT_EQ(ExportRealtimeCsv(path, store, columns,
                              [&](uint32_t i, uint32_t n) {
                                steps.push_back({i, n});
                              }),
            ExportResult::Written);

  std::string zeros;
  for (int i = 3; i < 18; ++i) zeros += ",0.000000";
  const std::string expected = base::Utf8ToGbk("序号,时间,温度,,CH3" + std::string(15, ',') + "\r\n") +
                               "0,2015-01-05 08-09-10,3.000000,,-1.250000" + zeros + "\r\n" +
                               "1,-0001--01--01 -01--01--01,45000.000000,,0.000000" + zeros + "\r\n";
  EXPECT_EQ(ReadFileBytes(path), expected);
  EXPECT_EQ(steps, (std::vector<std::pair<uint32_t, uint32_t>>{{0, 2}, {1, 2}}));
}

TEST(RealtimeCsv, AnEmptyStoreOrAnUnwritablePathWritesNothing) {
  TempDir dir;
  realtime::RecordStore store;
  RealtimeColumns columns;
  columns.active = [](int) { return true; };
  EXPECT_EQ(ExportRealtimeCsv(dir.File("empty.csv"), store, columns), ExportResult::NothingToWrite);
  EXPECT_FALSE(std::filesystem::exists(dir.File("empty.csv")));
  store.Append(RealtimeRecord{});
  EXPECT_EQ(ExportRealtimeCsv(dir.File("missing/x.csv"), store, columns), ExportResult::OpenFailed);
}

// Three records 2015-01-05 08:09:10, :11, :12; channel c of record n holds n + c / 4.
void AddThreeRecords(realtime::RecordStore& store) {
  for (int n = 0; n < 3; ++n) {
    RealtimeRecord r = realtime::StampedRecord(record::RecordTime::FromCalendar(2015, 1, 5, 8, 9, 10 + n));
    for (int c = 0; c < 18; ++c) r.values[c] = static_cast<float>(n) + static_cast<float>(c) / 4.0f;
    store.Append(r);
  }
}

TEST(RealtimeWorkbook, ChineseHeadingsShownChannelsInTheirOwnColumnsSixDecimals) {
  realtime::RecordStore store;
  AddThreeRecords(store);
  RealtimeColumns columns;
  for (int c = 0; c < 18; ++c) columns.names[c] = "通道" + std::to_string(c + 1);
  // Channel 2 is hidden from the second row on: the flags are read per row.
  int rowsAsked = 0;
  columns.active = [&](int channel) {
    if (channel == 0) ++rowsAsked;
    return channel != 1 || rowsAsked <= 2;  // heading and row 0
  };
  TempDir dir;
  const std::string path = dir.File("rt.xlsx");
  std::vector<std::pair<uint32_t, uint32_t>> steps;
  ASSERT_EQ(WriteRealtimeWorkbookFile(path, store, columns,
                                      [&](uint32_t i, uint32_t n) {
                                        steps.push_back({i, n});
                                      }),
            ExportResult::Written);
  auto cells = tessaly::testing::WorkbookCells(path);
  EXPECT_EQ(cells["A1"], "序号");
  EXPECT_EQ(cells["B1"], "时间");
  EXPECT_EQ(cells["C1"], "通道1");
  EXPECT_EQ(cells["D1"], "通道2");
  EXPECT_EQ(cells["T1"], "通道18");
  EXPECT_EQ(cells["A2"], "0");
  EXPECT_EQ(cells["B2"], "2015-01-05 08-09-10");
  EXPECT_EQ(cells["D2"], "0.250000");
  EXPECT_EQ(cells["A4"], "2");
  EXPECT_EQ(cells["B4"], "2015-01-05 08-09-12");
  EXPECT_EQ(cells["C4"], "2.000000");
  EXPECT_EQ(cells["T4"], "6.250000");
  EXPECT_EQ(cells.count("D3"), 0u);
  EXPECT_EQ(cells.count("D4"), 0u);
  EXPECT_EQ(cells.count("A5"), 0u);
  EXPECT_EQ(steps, (std::vector<std::pair<uint32_t, uint32_t>>{{0, 3}, {2, 3}}));

  RealtimeColumns all;
  all.active = [](int) { return true; };
  EXPECT_EQ(WriteRealtimeWorkbookFile(dir.File("empty.xlsx"), realtime::RecordStore{}, all),
            ExportResult::NothingToWrite);
  EXPECT_EQ(WriteRealtimeWorkbookFile(dir.File("missing/x.xlsx"), store, all), ExportResult::OpenFailed);
  EXPECT_FALSE(std::filesystem::exists(dir.File("empty.xlsx")));
}

// The worker appends or rotates while an export runs: the count is taken
// again after every row, so the export follows the store as it stands.
TEST(RealtimeExports, FollowAStoreThatGrowsOrEmptiesMidway) {
  TempDir dir;
  RealtimeColumns columns;
  columns.active = [](int channel) { return channel == 0; };
  struct Case {
    const char* name;
    bool grow;
    size_t rows;
  };
  for (const Case& c : {Case{"grow", true, 4}, Case{"rotate", false, 1}}) {
    SCOPED_TRACE(c.name);
    for (const bool workbook : {false, true}) {
      realtime::RecordStore store;
      AddThreeRecords(store);
      const auto midway = [&](uint32_t row, uint32_t) {
        if (row != 0) return;
        if (c.grow)
          store.Append(RealtimeRecord{});
        else
          store.Clear();
      };
      const std::string path = dir.File(std::string(c.name) + (workbook ? ".xlsx" : ".csv"));
      ASSERT_EQ(workbook ? WriteRealtimeWorkbookFile(path, store, columns, midway)
                         : ExportRealtimeCsv(path, store, columns, midway),
                ExportResult::Written);
      if (workbook) {
        auto cells = tessaly::testing::WorkbookCells(path);
        EXPECT_EQ(cells.count("A" + std::to_string(c.rows + 1)), 1u);
        EXPECT_EQ(cells.count("A" + std::to_string(c.rows + 2)), 0u);
      } else {
        const std::string text = ReadFileBytes(path);
        EXPECT_EQ(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')), c.rows + 1);
      }
    }
  }
}

}  // namespace
}  // namespace tessaly::output
