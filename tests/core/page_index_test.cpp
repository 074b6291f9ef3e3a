#include <cstring>

#include <gtest/gtest.h>

#include "base/texts.h"
#include "record/page_index.h"
#include "record_writer.h"
#include "recorder/build_page_index.h"
#include "settings/display_params_edit.h"
#include "settings/settings_file.h"
#include "support/platform.h"
#include "support/record_fixture.h"

namespace tessaly::record {
namespace {

using namespace tessaly::recorder;

using sim::RecordSpec;
using sim::SectorFault;
using tessaly::testing::AppendToFile;
using tessaly::testing::ReadFileBytes;
using tessaly::testing::RecordFixture;
using tessaly::testing::ScopedSettingsDir;

struct Range {
  uint32_t first, count;
  bool operator==(const Range&) const = default;
};

std::vector<Range> RangesOf(const std::vector<PageEntry>& pages) {
  std::vector<Range> out;
  for (const PageEntry& p : pages) out.push_back({p.firstSector, p.sectorCount});
  return out;
}

struct PagingCase {
  const char* name;
  uint32_t header, data;
  int32_t mode;
  uint32_t sectorsPerPage, pageCount;
  std::vector<Range> pages;
};

TEST(FormPages, CoverTheDataSectorsByMode) {
  const PagingCase cases[] = {
      {"mode0-remainder", 2, 2500, 0, 1024, 0, {{2, 1024}, {1026, 1024}, {2050, 452}}},
      {"mode0-exact", 2, 2048, 0, 1024, 0, {{2, 1024}, {1026, 1024}}},
      {"mode1-four-pages-for-three", 2, 10, 1, 1024, 3, {{2, 3}, {5, 3}, {8, 3}, {11, 1}}},
      {"mode1-more-pages-than-asked", 2, 10, 1, 1024, 4, {{2, 2}, {4, 2}, {6, 2}, {8, 2}, {10, 2}}},
      {"mode1-fallback-to-mode0", 2, 10, 1, 1024, 20, {{2, 10}}},
      {"mode1-fallback-small-pages", 0, 10, 1, 4, 20, {{0, 4}, {4, 4}, {8, 2}}},
      {"mode0-zero-sectors-per-page-is-1024", 0, 1500, 0, 0, 5, {{0, 1024}, {1024, 476}}},
      {"mode1-zero-page-count-falls-back", 2, 10, 1, 7, 0, {{2, 7}, {9, 3}}},
      {"mode1-fallback-zero-sectors-per-page", 2, 10, 1, 0, 20, {{2, 10}}},
      {"unknown-mode", 2, 10, 2, 4, 2, {}},
      {"no-data", 2, 0, 0, 1024, 0, {}},
  };
  for (const PagingCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RangesOf(FormPages(c.header, c.data, c.mode, c.sectorsPerPage, c.pageCount)), c.pages);
  }
}

// Six samples of one second per sector: data sector k starts 6k seconds
// after 2015-01-05 08:00:00.
RecordSpec SecondsSpec(uint32_t sectors) {
  RecordSpec recordSpec;
  recordSpec.sectorCount = sectors;
  recordSpec.samplesPerSector = 6;
  recordSpec.interval = 10;
  return recordSpec;
}

struct LabelCase {
  const char* name;
  uint32_t sectors, perPage;
  std::vector<std::pair<uint32_t, uint32_t>> badRuns;  // [from, to) data sectors
  SectorFault fault;
  std::vector<std::string> labels;
};

TEST(BuildPageIndex, LabelsPagesByTheirFirstCalendarValidSector) {
  const LabelCase cases[] = {
      {"first-sector",
       12,
       4,
       {},
       SectorFault::None,
       {"2015_01_05 08:00:00", "2015_01_05 08:00:24", "2015_01_05 08:00:48"}},
      {"skips-bad-crc",
       12,
       4,
       {{4, 7}},
       SectorFault::BadCrc,
       {"2015_01_05 08:00:00", "2015_01_05 08:00:42", "2015_01_05 08:00:48"}},
      {"skips-non-calendar-time",
       12,
       4,
       {{8, 10}},
       SectorFault::NotCalendar,
       {"2015_01_05 08:00:00", "2015_01_05 08:00:24", "2015_01_05 08:01:00"}},
      {"looks-past-the-page",
       30,
       10,
       {{10, 20}},
       SectorFault::BadCrc,
       {"2015_01_05 08:00:00", "2015_01_05 08:02:00", "2015_01_05 08:02:00"}},
      {"fifty-bad-take-the-previous-label",
       200,
       50,
       {{50, 100}},
       SectorFault::BadCrc,
       {"2015_01_05 08:00:00", "2015_01_05 08:00:00", "2015_01_05 08:10:00", "2015_01_05 08:15:00"}},
      {"forty-nine-bad-find-the-fiftieth",
       200,
       50,
       {{50, 99}},
       SectorFault::BadCrc,
       {"2015_01_05 08:00:00", "2015_01_05 08:09:54", "2015_01_05 08:10:00", "2015_01_05 08:15:00"}},
      {"bad-last-page-beyond-the-file",
       9,
       4,
       {{8, 9}},
       SectorFault::BadCrc,
       {"2015_01_05 08:00:00", "2015_01_05 08:00:24", "2015_01_05 08:00:24"}},
  };
  for (const LabelCase& c : cases) {
    SCOPED_TRACE(c.name);
    RecordFixture f;
    f.data.autoPaging = 0;
    f.data.sectorsPerPage = c.perPage;
    RecordSpec recordSpec = SecondsSpec(c.sectors);
    for (auto [from, to] : c.badRuns) recordSpec.faults.push_back({from, to - 1, c.fault});
    ASSERT_TRUE(f.Open(recordSpec));
    std::vector<std::string> labels;
    for (const PageEntry& p : f.data.pages) labels.push_back(p.label);
    EXPECT_EQ(labels, c.labels);
  }
}

TEST(BuildPageIndex, HidesTheChannelsTheFileDoesNotRecord) {
  RecordFixture f;
  f.data.channels[1].shown = 0;
  RecordSpec recordSpec = SecondsSpec(10);
  recordSpec.channels = 4;
  ASSERT_TRUE(f.Open(recordSpec));
  for (int ch = 0; ch < 18; ++ch) EXPECT_EQ(f.data.channels[ch].shown, ch < 4 && ch != 1 ? 1 : 0) << ch;
}

// A file that records fewer channels hides the others for itself only: the
// user's own choice comes back with the next file, and the settings file
// keeps it, also when the dialog is confirmed over such a file.
TEST(BuildPageIndex, HidingForAFileKeepsTheUsersShownChoice) {
  ScopedSettingsDir settingsDir;
  RecordFixture f;
  settings::ReadSettings(f.data);
  f.data.channels[5].shown = 0;  // the user hides channel 6 while all 18 are recorded
  RecordSpec one = SecondsSpec(10);
  one.channels = 1;
  ASSERT_TRUE(f.Open(one));
  for (int ch = 0; ch < 18; ++ch) EXPECT_EQ(f.data.channels[ch].shown, ch == 0 ? 1 : 0) << ch;

  settings::DisplayParamsEdit edit(f.data);
  EXPECT_EQ(edit.settings.channels[3].shown, 1);
  EXPECT_EQ(edit.settings.channels[5].shown, 0);
  edit.settings.channels[7].shown = 0;  // hidden by the user while the file hides it anyway
  edit.Commit(f.data);
  EXPECT_EQ(f.data.channels[3].shown, 0);
  ASSERT_TRUE(settings::WriteSettings(f.data));
  const std::string image = ReadFileBytes(settingsDir.SettingsFile());
  ASSERT_EQ(image.size(), settings::kSettingsFileSize);
  for (int ch = 0; ch < 18; ++ch) {
    int32_t stored = -1;
    std::memcpy(&stored, &image[40 + 60 * ch + 8], 4);
    EXPECT_EQ(stored, ch == 5 || ch == 7 ? 0 : 1) << ch;
  }

  RecordSpec eight = SecondsSpec(10);
  eight.channels = 8;
  ASSERT_TRUE(f.Open(eight));
  for (int ch = 0; ch < 18; ++ch) EXPECT_EQ(f.data.channels[ch].shown, ch < 8 && ch != 5 && ch != 7 ? 1 : 0) << ch;
}

TEST(BuildPageIndex, AutoPagingRewritesTheStoredParameters) {
  RecordFixture f;
  f.data.autoPaging = 1;
  f.data.pageMode = 1;
  f.data.pageCount = 3;
  f.data.sectorsPerPage = 7;
  ASSERT_TRUE(f.Open(SecondsSpec(2500)));
  EXPECT_EQ(f.data.pageMode, 0);
  EXPECT_EQ(f.data.sectorsPerPage, 1024u);
  EXPECT_EQ(f.data.pageCount, 3u);
  EXPECT_EQ(RangesOf(f.data.pages), (std::vector<Range>{{2, 1024}, {1026, 1024}, {2050, 452}}));
}

TEST(BuildPageIndex, CountsWholeDataSectorsAfterTheHeader) {
  RecordFixture f;
  RecordSpec recordSpec = SecondsSpec(1951);
  const std::string path = f.Write(recordSpec);
  AppendToFile(path, std::string(64, '\x5A'));  // 1,000,000 bytes in all
  ASSERT_TRUE(BuildPageIndex(f.data));
  EXPECT_EQ(f.data.recordSet.HeaderSectors(), 2u);
  EXPECT_EQ(f.data.recordSet.DataSectors(), 1951u);

  recordSpec.header = false;
  f.Write(recordSpec);
  ASSERT_TRUE(BuildPageIndex(f.data));
  EXPECT_EQ(f.data.recordSet.HeaderSectors(), 0u);
  EXPECT_EQ(f.data.pages.front().firstSector, 0u);
}

TEST(BuildPageIndex, FailsWithoutACalendarValidSectorAmongTheFirstFifty) {
  for (const int language : {0, 1}) {
    RecordFixture f;
    f.data.language = language;
    RecordSpec recordSpec = SecondsSpec(60);
    recordSpec.faults = {{0, 29, SectorFault::BadCrc}, {30, 49, SectorFault::NotCalendar}};
    EXPECT_FALSE(f.Open(recordSpec));
    EXPECT_EQ(f.sink.said, std::vector<std::string>{base::Text(base::TextId::FileOpenFailed, language)});
    EXPECT_TRUE(f.data.pages.empty());
  }
}

TEST(BuildPageIndex, OpensReadOnlyAndExclusively) {
  RecordFixture f;
  const std::string first = f.Write(SecondsSpec(10), "first.D01");
  tessaly::testing::SetReadOnly(first, true);
  ASSERT_TRUE(BuildPageIndex(f.data));  // write-protected: still opens

  // Another holder of the lock is refused while the viewer holds it.
  RecordFile other;
  EXPECT_FALSE(other.Open(first));

  // Opening the next file releases the previous one.
  f.Write(SecondsSpec(10), "second.D01");
  ASSERT_TRUE(BuildPageIndex(f.data));
  EXPECT_TRUE(other.Open(first));

  // And a file someone else holds cannot be opened.
  f.data.recordPaths = {first};
  EXPECT_FALSE(BuildPageIndex(f.data));
  EXPECT_EQ(f.sink.said, std::vector<std::string>{"文件打开失败"});
  EXPECT_FALSE(f.data.recordSet.IsOpen());
  EXPECT_TRUE(f.data.pages.empty());
}

TEST(BuildPageIndex, MissingFileFails) {
  RecordFixture f;
  f.data.language = 1;
  f.data.recordPaths = {f.dir.File("none.D01")};
  EXPECT_FALSE(BuildPageIndex(f.data));
  EXPECT_EQ(f.sink.said, std::vector<std::string>{"Failed to open file"});
}

TEST(BuildPageIndex, RefusedWhileALoadHoldsTheFile) {
  RecordFixture f;
  ASSERT_TRUE(f.Open(SecondsSpec(10)));
  const std::vector<PageEntry> before = f.data.pages;
  f.Write(SecondsSpec(3000), "other.D01");
  f.data.idle = 0;
  EXPECT_FALSE(BuildPageIndex(f.data));
  EXPECT_EQ(f.sink.said, std::vector<std::string>{"系统忙，请稍后再试"});
  EXPECT_TRUE(f.data.recordSet.IsOpen());
  EXPECT_EQ(RangesOf(f.data.pages), RangesOf(before));
  EXPECT_EQ(f.data.recordSet.DataSectors(), 10u);
}

}  // namespace
}  // namespace tessaly::record
