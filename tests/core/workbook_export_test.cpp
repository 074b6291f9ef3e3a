#include <filesystem>

#include <gtest/gtest.h>

#include "output/workbook_export.h"
#include "recorder/recorder_data.h"
#include "settings/settings_file.h"
#include "support/platform.h"
#include "support/sample_fixture.h"
#include "support/temp_dir.h"
#include "support/workbook_cells.h"

namespace tessaly::output {
namespace {

using record::RecordTime;
using tessaly::testing::ReadFileBytes;
using tessaly::testing::TempDir;
using tessaly::testing::WorkbookCells;
using tessaly::testing::WriteFileBytes;
using Cells = std::map<std::string, std::string>;

constexpr const char* kAbsent = "<no cell>";

// `count` samples one second apart from 2015-01-05 08:00:00; channel c of
// sample n holds n + c / 10 with c % 3 decimals.
std::vector<record::Sample> Fill(recorder::CRecorderData& data, size_t count) {
  settings::ApplyDefaultSettings(data);
  for (int ch = 0; ch < 18; ++ch) settings::SetChannelName(data.channels[ch], "通道" + std::to_string(ch + 1));
  const RecordTime t0 = RecordTime::FromCalendar(2015, 1, 5, 8, 0, 0);
  std::vector<record::Sample> samples;
  for (size_t n = 0; n < count; ++n) {
    record::Sample s{};
    s.time = t0.Add(static_cast<int64_t>(n) * record::kTicksPerSecond);
    for (int ch = 0; ch < 18; ++ch) {
      s.values[ch] = static_cast<float>(n) + static_cast<float>(ch) / 10.0f;
      s.decimals[ch] = ch % 3;
    }
    samples.push_back(s);
  }
  data.samples = tessaly::testing::BufferOf(samples);
  return samples;
}

ExportResult Export(const recorder::CRecorderData& data, uint32_t interval, const std::string& path,
                    const ExportProgress& progress) {
  return WriteViewerWorkbookFile(path, data.samples, data.Display(), interval, data.language, progress);
}

TEST(ExportWorkbook, WritesTheCellsOfEveryKthSampleAsText) {
  TempDir dir;
  recorder::CRecorderData data;
  std::vector<record::Sample> samples = Fill(data, 10);
  data.channels[1].shown = 0;  // column D stays empty
  samples[6].time.status = record::RecordTimeStatus::Invalid;
  samples[3].values[0] = 45000.0f;
  data.samples = tessaly::testing::BufferOf(samples);
  const std::string path = dir.File("out.xls");
  std::vector<std::pair<uint32_t, uint32_t>> progress;
  ASSERT_EQ(Export(data, 3, path, [&](uint32_t i, uint32_t n) { progress.push_back({i, n}); }), ExportResult::Written);

  const Cells cells = WorkbookCells(path);
  // Samples 0, 3 and 6; sample 9 would need a full block of three.
  const std::pair<const char*, const char*> expected[] = {
      {"A1", "序号"},
      {"B1", "时间"},
      {"C1", "通道1"},
      {"D1", kAbsent},
      {"E1", "通道3"},
      {"T1", "通道18"},
      {"A2", "0"},
      {"A3", "3"},
      {"A4", "6"},
      {"A5", kAbsent},
      {"B3", "2015-01-05 08-00-03"},
      {"B4", "-0001--01--01 -01--01--01"},
      {"C2", "0"},      // channel 1: 0 decimals
      {"C3", "45000"},  // the marker is a number like any other
      {"E4", "6.20"},   // channel 3: 2 decimals
      {"G2", "0.4"},    // channel 5: 1 decimal
      {"D2", kAbsent},
  };
  for (const auto& [ref, text] : expected) EXPECT_EQ(cells.count(ref) ? cells.at(ref) : kAbsent, text) << ref;
  // Every cell is a text: 3 rows of 19 cells and 19 headings.
  EXPECT_EQ(cells.size(), 4u * 19u);
  for (const auto& [ref, text] : cells) EXPECT_EQ(text.find("<number"), std::string::npos) << ref;
  EXPECT_EQ(progress, (std::vector<std::pair<uint32_t, uint32_t>>{{0, 3}, {2, 3}}));
}

TEST(ExportWorkbook, EnglishHeadingsAndProgressEveryHundredRows) {
  TempDir dir;
  recorder::CRecorderData data;
  Fill(data, 250);
  data.language = 1;
  std::vector<uint32_t> steps;
  ASSERT_EQ(Export(data, 0, dir.File("out.xls"),
                   [&](uint32_t i, uint32_t n) {
                     EXPECT_EQ(n, 250u);
                     steps.push_back(i);
                   }),
            ExportResult::Written);
  const Cells cells = WorkbookCells(dir.File("out.xls"));
  EXPECT_EQ(cells.at("A1"), "Index");
  EXPECT_EQ(cells.at("B1"), "Time");
  EXPECT_EQ(cells.at("A251"), "249");
  EXPECT_EQ(steps, (std::vector<uint32_t>{0, 100, 200, 249}));
}

TEST(ExportWorkbook, NothingForAnEmptyBufferOrAMissingFolder) {
  TempDir dir;
  recorder::CRecorderData data;
  EXPECT_EQ(Export(data, 1, dir.File("empty.xls"), {}), ExportResult::NothingToWrite);
  Fill(data, 3);
  EXPECT_EQ(Export(data, 1, dir.File("missing/out.xls"), {}), ExportResult::OpenFailed);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// A 64 KiB file system over `dir` fills up while the workbook is written.
// Exit codes: 0 reported and the earlier file intact, 1 not reported, 2
// earlier file changed or a temporary left.
int ExportOntoAFullDisk(const recorder::CRecorderData& data, const std::string& dir) {
  const std::string path = dir + "/out.xls";
  WriteFileBytes(path, "the earlier export");
  if (Export(data, 1, path, {}) != ExportResult::WriteFailed) return 1;
  const bool intact =
      ReadFileBytes(path) == "the earlier export" && std::distance(std::filesystem::directory_iterator(dir), {}) == 1;
  return intact ? 0 : 2;
}

TEST(ExportWorkbook, AFullDiskLeavesTheTargetAsItWas) {
  TempDir dir;
  recorder::CRecorderData data;
  Fill(data, 5000);
  const std::string folder = dir.path().string();
  const int status = tessaly::testing::RunOnASmallFileSystem(folder, [&] { return ExportOntoAFullDisk(data, folder); });
  if (status == 77) GTEST_SKIP() << "no mount namespace for a small file system (none on Windows)";
  EXPECT_EQ(status, 0);
}

// A target that cannot be replaced (a folder) fails at the rename: reported,
// and the temporary workbook is removed.
TEST(ExportWorkbook, AFailedRenameIsReported) {
  TempDir dir;
  recorder::CRecorderData data;
  Fill(data, 3);
  std::filesystem::create_directory(dir.File("out.xls"));
  EXPECT_EQ(Export(data, 1, dir.File("out.xls"), {}), ExportResult::WriteFailed);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  EXPECT_TRUE(std::filesystem::is_empty(dir.File("out.xls")));
}

}  // namespace
}  // namespace tessaly::output
