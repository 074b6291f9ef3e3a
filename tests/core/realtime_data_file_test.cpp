
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/fs_path.h"
#include "base/texts.h"
#include "core/realtime_fake_page.h"
#include "realtime/data_file.h"
#include "realtime/page_actions.h"
#include "realtime/record_store.h"
#include "record/record_time.h"
#include "support/platform.h"
#include "support/temp_dir.h"

namespace tessaly::realtime {
namespace {

using record::RecordTime;
using tessaly::testing::ReadFileBytes;
using tessaly::testing::TempDir;
using tessaly::testing::WriteFileBytes;

RealtimeRecord Sample(int n) {
  RealtimeRecord r = StampedRecord(RecordTime::FromCalendar(2015, 1, 5, 8, 9, 10 + n));
  for (int i = 0; i < kRecordChannels; ++i) r.values[i] = static_cast<float>(n * 100 + i) + 0.5f;
  return r;
}

std::string Bytes(const std::vector<RealtimeRecord>& records) {
  return std::string(reinterpret_cast<const char*>(records.data()), records.size() * kRecordSize);
}

TEST(DataFileTexts, LabelsAndNamesFollowTheRecordTime) {
  const RealtimeRecord valid = Sample(0);
  EXPECT_EQ(PointLabel(RecordFields(valid)), "2015-01-05 08:09:10");
  RealtimeRecord invalid = valid;
  invalid.timeStatus = 1;
  EXPECT_EQ(PointLabel(RecordFields(invalid)), "-0001--01--01 -01:-01:-01");
  for (double beyond : {2958466.0, 10'000'000.0, -700'000.0}) {  // years 10000, 29279, -0838
    RealtimeRecord far = valid;
    far.time = beyond;
    EXPECT_EQ(PointLabel(RecordFields(far)), "-0001--01--01 -01:-01:-01") << beyond;
  }
  EXPECT_EQ(StampedRecord(RecordTime{record::RecordTimeStatus::Invalid, 0}).timeStatus, 1);

  for (auto [path, has] : {std::pair{"a/x.DT", true}, {"x.dt", false}, {"DT", false}, {"x.DTx", false}, {".DT", true}})
    EXPECT_EQ(HasDataExtension(path), has) << path;

  TempDir dir;
  const std::string folder = dir.path().string() + "/";
  const record::CalendarFields when{2015, 1, 5, 8, 9, 10, 0};
  EXPECT_EQ(StartSavePath(folder, 7, when), folder + "设备007/2015_01_05_08_09_10.DT");
  EXPECT_EQ(RotationSavePath(folder, 7, base::kEnglish, when), folder + "Device007/2015_01_05_08_09_10.DT");
  EXPECT_EQ(RotationSavePath(folder, 12, base::kChinese, when), folder + "设备012/2015_01_05_08_09_10.DT");
  for (const char* made : {"设备007", "Device007", "设备012"})
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / base::FsPath(made))) << made;
  EXPECT_EQ(DefaultReceiveFolder().back(), '/');
}

// A new run never takes the name of another run's file.
TEST(DataFileTexts, TakenNamesGetANumberBeforeTheExtension) {
  TempDir dir;
  const std::string folder = dir.path().string() + "/";
  const record::CalendarFields when{2015, 1, 5, 8, 9, 10, 0};
  const std::string first = StartSavePath(folder, 1, when);
  WriteFileBytes(first, "other run");
  const std::string second = StartSavePath(folder, 1, when);
  EXPECT_EQ(second, folder + "设备001/2015_01_05_08_09_10_1.DT");
  WriteFileBytes(second, "");
  EXPECT_EQ(RotationSavePath(folder, 1, base::kChinese, when), folder + "设备001/2015_01_05_08_09_10_2.DT");
  std::error_code noLinks;  // Windows gives links only to privileged users, mingw's library none at all
  std::filesystem::create_symlink(dir.File("nowhere"), dir.File("x.DT"), noLinks);
  if (!noLinks) {
    EXPECT_EQ(UnusedDataPath(dir.File("x.DT")), dir.File("x_1.DT")) << "a dangling link is taken too";
  }
  WriteFileBytes(dir.File("plain"), "");
  EXPECT_EQ(UnusedDataPath(dir.File("plain")), dir.File("plain_1"));
  EXPECT_EQ(UnusedDataPath(dir.File("free.DT")), dir.File("free.DT"));
  EXPECT_EQ(ReadFileBytes(first), "other run");
}

TEST(DataFile, ManualSaveWritesTheStoreAndOpeningReadsItBack) {
  TempDir dir;
  FakePage page;
  RecordStore store;
  const std::vector<RealtimeRecord> written = {Sample(0), Sample(1), Sample(2)};
  for (const auto& r : written) store.Append(r);
  page.savePath = dir.File("data.DT");
  ASSERT_TRUE(ManualSave(page, store));
  EXPECT_EQ(ReadFileBytes(page.savePath), Bytes(written));
  EXPECT_EQ(store.Size(), 3u) << "a save keeps the store";
  EXPECT_TRUE(page.pathField.empty()) << "the path was fine as it was";

  RecordStore reopened;
  reopened.Append(Sample(9));
  const std::array<uint32_t, kRecordChannels> colors{0x0000FF, 0x00FF00};
  ASSERT_TRUE(OpenDataFile(page, reopened, page.savePath, colors));
  EXPECT_EQ(Bytes(reopened.Snapshot()), Bytes(written));
  for (int i = 0; i < kRecordChannels; ++i) {
    EXPECT_EQ(page.clears[i], 1) << i;
    ASSERT_EQ(page.points[i].size(), 3u) << "every series gets every record";
    EXPECT_EQ(page.points[i][2].value, written[2].values[i]);
    EXPECT_EQ(page.points[i][2].label, "2015-01-05 08:09:12");
    EXPECT_EQ(page.points[i][2].color, colors[i]);
  }
}

TEST(DataFile, AnyLengthOpensAsItsWholeRecords) {
  TempDir dir;
  const std::string full = Bytes({Sample(0), Sample(1)});
  for (size_t length : {size_t{0}, size_t{84}, size_t{100}, size_t{168}}) {
    const std::string path = dir.File("f.DT");
    WriteFileBytes(path, full.substr(0, length));
    FakePage page;
    RecordStore store;
    store.Append(Sample(5));
    ASSERT_TRUE(OpenDataFile(page, store, path, {}));
    const size_t records = length / kRecordSize;
    EXPECT_EQ(store.Size(), records) << length;
    EXPECT_EQ(Bytes(store.Snapshot()), full.substr(0, records * kRecordSize)) << length;
    EXPECT_EQ(page.points[17].size(), records) << length;
    EXPECT_EQ(page.clears[17], 1) << length;
  }
}

TEST(DataFile, FailuresLeaveStoreAndChartAlone) {
  TempDir dir;
  FakePage page;
  RecordStore store;
  store.Append(Sample(1));

  EXPECT_FALSE(OpenDataFile(page, store, dir.File("missing.DT"), {}));
  EXPECT_EQ(store.Size(), 1u);
  EXPECT_EQ(page.clears[0], 0);
  // Only regular files: a FIFO would block the open, a device feed it forever.
  ASSERT_TRUE(tessaly::testing::MakeNonRegularFile(dir.File("fifo.DT")));
  for (const std::string& path : {dir.File("fifo.DT"), std::string("/dev/zero"), dir.path().string()})
    EXPECT_FALSE(ReadDataFile(path)) << path;

  page.savePath = dir.File("no-such-folder/x.DT");
  EXPECT_FALSE(ManualSave(page, store));
  EXPECT_EQ(store.Size(), 1u);
  EXPECT_EQ(page.messages, (std::vector<std::string>{"Open Index File Error", "Open Save File Error"}));
}

TEST(DataFile, ManualSaveAppendsTheExtensionCaseSensitively) {
  TempDir dir;
  FakePage page;
  RecordStore store;
  store.Append(Sample(0));
  page.savePath = dir.File("data.dt");
  ASSERT_TRUE(ManualSave(page, store));
  EXPECT_EQ(page.savePath, dir.File("data.dt.DT"));
  EXPECT_EQ(page.pathField, page.savePath) << "the new path is shown";
  EXPECT_EQ(ReadFileBytes(dir.File("data.dt.DT")).size(), kRecordSize);
}

TEST(DataFile, AutoSaveIntervalMustLieWithinFiveSecondsAndThirtyDays) {
  struct Case {
    int64_t seconds, periodMs;
  };
  for (const Case& c : {Case{4, 0}, Case{5, 5000}, Case{2'592'000, 2'592'000'000}, Case{2'592'001, 0}, Case{-5, 0}}) {
    FakePage page;
    EXPECT_EQ(AutoSavePeriodMs(page, c.seconds), c.periodMs) << c.seconds;
    EXPECT_EQ(page.messages.size(), c.periodMs == 0 ? 1u : 0u) << c.seconds;
    if (c.periodMs == 0) {
      EXPECT_EQ(page.messages[0], "自动保存时间超过限制");
    }
  }
}

}  // namespace
}  // namespace tessaly::realtime
