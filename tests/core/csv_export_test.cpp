#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "base/texts.h"
#include "output/csv_export.h"
#include "support/platform.h"
#include "support/sample_fixture.h"
#include "support/temp_dir.h"

namespace tessaly::output {
namespace {

using record::RecordTime;
using record::Sample;
using record::SampleBuffer;
using tessaly::testing::ReadFileBytes;
using tessaly::testing::TempDir;
using tessaly::testing::WriteFileBytes;

settings::DisplaySettings Names() {
  settings::DisplaySettings display{};
  settings::SetChannelName(display.channels[0], "温度1");
  settings::SetChannelName(display.channels[1], "Flow");
  display.channels[1].shown = 0;  // hidden channels are exported all the same
  return display;
}

// Sample i: 08:00:00 + i s; channel 0 20.5 + i with 1 decimal, channel 1 3.0
// with 1, channel 2 the marker 45000.0 with 2, channel 3 0.1 with 15.
std::vector<Sample> Samples(size_t count) {
  std::vector<Sample> samples(count);
  for (size_t i = 0; i < count; ++i) {
    Sample& s = samples[i];
    s.time = RecordTime::FromCalendar(2015, 1, 5, 8, 0, static_cast<int>(i));
    s.values[0] = 20.5f + static_cast<float>(i);
    s.decimals[0] = 1;
    s.values[1] = 3.0f;
    s.decimals[1] = 1;
    s.values[2] = 45000.0f;
    s.decimals[2] = 2;
    s.values[3] = 0.1f;
    s.decimals[3] = 15;
  }
  return samples;
}

std::string ToText(const std::vector<Sample>& samples, uint32_t interval, int language,
                   const ExportProgress& progress = {}) {
  const TempDir dir;
  const std::string path = dir.File("stream.csv");
  std::FILE* out = std::fopen(path.c_str(), "wb");
  EXPECT_NE(out, nullptr);
  if (!out) return {};
  const bool ok = WriteViewerCsv(out, tessaly::testing::BufferOf(samples), Names(), interval, language, progress);
  std::fclose(out);
  EXPECT_TRUE(ok);
  return ReadFileBytes(path);
}

std::string Zeros(int channels) {
  std::string s;
  for (int i = 0; i < channels; ++i) s += ",0";
  return s;
}

TEST(ViewerCsv, EveryKthSampleWithItsDecimalsInGbkAndCrLf) {
  std::vector<Sample> samples = Samples(10);
  samples[6].time = RecordTime{record::RecordTimeStatus::Invalid, 0};
  const std::string names =
      ",\xCE\xC2\xB6\xC8"
      "1,Flow" +
      std::string(16, ',') + "\r\n";
  const std::string values = ",3.0,45000.00,0.100000001490116" + Zeros(14) + "\r\n";
  const std::string rows = "0,2015-01-05 08-00-00,20.5" + values +       //
                           "3,2015-01-05 08-00-03,23.5" + values +       //
                           "6,-0001--01--01 -01--01--01,26.5" + values;  // sample 9 is left out
  EXPECT_EQ(ToText(samples, 3, base::kEnglish), "Index,Time" + names + rows);
  EXPECT_EQ(ToText(samples, 3, base::kChinese), "\xD0\xF2\xBA\xC5,\xCA\xB1\xBC\xE4" + names + rows);
  // Fewer samples than the interval: the heading alone; interval 0 counts as 1.
  EXPECT_EQ(ToText(samples, 11, base::kEnglish), "Index,Time" + names);
  EXPECT_EQ(ToText(Samples(1), 0, base::kEnglish), "Index,Time" + names + "0,2015-01-05 08-00-00,20.5" + values);
}

TEST(ViewerCsv, ProgressAfterTheFirstRowTheLastAndEveryHundredth) {
  std::vector<std::pair<uint32_t, uint32_t>> calls;
  const auto record = [&calls](uint32_t row, uint32_t rows) { calls.emplace_back(row, rows); };
  ToText(Samples(501), 2, base::kEnglish, record);  // 250 rows
  EXPECT_EQ(calls, (std::vector<std::pair<uint32_t, uint32_t>>{{0, 250}, {100, 250}, {200, 250}, {249, 250}}));
  calls.clear();
  ToText(Samples(1), 1, base::kEnglish, record);
  EXPECT_EQ(calls, (std::vector<std::pair<uint32_t, uint32_t>>{{0, 1}}));
}

TEST(ViewerCsv, EmptyBufferWritesNothing) {
  TempDir dir;
  EXPECT_EQ(ToText({}, 1, base::kEnglish), "");
  EXPECT_EQ(WriteViewerCsvFile(dir.File("out.csv"), {}, Names(), 1, base::kEnglish), ExportResult::NothingToWrite);
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.csv")));
}

TEST(ViewerCsv, FileFormReplacesTheTargetWhole) {
  TempDir dir;
  const std::string path = dir.File("out.csv");
  WriteFileBytes(path, "old contents");
  const std::vector<Sample> chosen = Samples(300);
  const SampleBuffer samples = tessaly::testing::BufferOf(chosen);
  EXPECT_EQ(WriteViewerCsvFile(path, samples, Names(), 1, base::kEnglish), ExportResult::Written);
  EXPECT_EQ(ReadFileBytes(path), ToText(chosen, 1, base::kEnglish));
  EXPECT_EQ(WriteViewerCsvFile(dir.File("missing/out.csv"), samples, Names(), 1, base::kEnglish),
            ExportResult::OpenFailed);
}

TEST(ViewerCsv, FailureMidwayLeavesThePreviousFile) {
  std::FILE* full = tessaly::testing::OpenFullStream();
  ASSERT_NE(full, nullptr);
  EXPECT_FALSE(WriteViewerCsv(full, tessaly::testing::BufferOf(Samples(10)), Names(), 1, base::kEnglish));
  std::fclose(full);

  if (!tessaly::testing::FileSizeLimit::Supported()) GTEST_SKIP() << "Windows has no per-process file size limit";
  TempDir dir;
  const std::string path = dir.File("out.csv");
  WriteFileBytes(path, "old contents");
  {
    tessaly::testing::FileSizeLimit limit(100'000);
    EXPECT_EQ(WriteViewerCsvFile(path, tessaly::testing::BufferOf(Samples(20'000)), Names(), 1, base::kEnglish),
              ExportResult::WriteFailed);
  }
  EXPECT_EQ(ReadFileBytes(path), "old contents");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary file left
}

}  // namespace
}  // namespace tessaly::output
