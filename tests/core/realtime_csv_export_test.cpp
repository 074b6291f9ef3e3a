#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "base/gbk.h"
#include "output/realtime_csv_export.h"
#include "realtime/data_file.h"
#include "realtime/record_store.h"
#include "record/record_time.h"
#include "support/temp_dir.h"

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

  RealtimeCsvColumns columns;
  columns.names[0] = "温度";
  columns.names[1] = "hidden";
  columns.names[2] = "CH3";
  // Channel 2 is hidden; channels 4 to 18 are shown with empty names.
  columns.active = [](int channel) { return channel != 1; };
  std::vector<std::pair<uint32_t, uint32_t>> steps;
  TempDir dir;
  const std::string path = dir.File("rt.csv");
  ASSERT_EQ(ExportRealtimeCsv(path, store.Snapshot(), columns, [&](uint32_t i, uint32_t n) { steps.push_back({i, n}); }),
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
  RealtimeCsvColumns columns;
  columns.active = [](int) { return true; };
  EXPECT_EQ(ExportRealtimeCsv(dir.File("empty.csv"), store.Snapshot(), columns), ExportResult::NothingToWrite);
  EXPECT_FALSE(std::filesystem::exists(dir.File("empty.csv")));
  store.Append(RealtimeRecord{});
  EXPECT_EQ(ExportRealtimeCsv(dir.File("missing/x.csv"), store.Snapshot(), columns), ExportResult::OpenFailed);
}

}  // namespace
}  // namespace tessaly::output
