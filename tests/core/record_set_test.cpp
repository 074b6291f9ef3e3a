#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/texts.h"
#include "record/record_file.h"
#include "record/record_set.h"
#include "record/search.h"
#include "record/sector_range.h"
#include "record_writer.h"
#include "recorder/build_page_index.h"
#include "support/platform.h"
#include "support/record_fixture.h"

namespace tessaly::record {
namespace {

using tessaly::testing::ReadFileBytes;
using tessaly::testing::RecordFixture;
using tessaly::testing::WriteFileBytes;

// 300 sectors of 6 one-second samples: data sector i starts at 08:00:00 + 6 i s.
sim::RecordSpec Recording() {
  sim::RecordSpec recordSpec;
  recordSpec.channels = 3;
  recordSpec.names = {"温度1", "Pressure", "Flow"};
  recordSpec.sectorCount = 300;
  return recordSpec;
}

// The recording whole, and copied off as parts of 120, 90 and 90 sectors.
class RecordSetTest : public ::testing::Test {
 protected:
  RecordSetTest() {
    whole_ = f_.dir.File("whole.D01");
    EXPECT_TRUE(sim::WriteRecordFile(whole_, Recording()));
    parts_ = sim::ConsecutiveRecordNames(f_.dir.File("part.D01"), 3);
    const uint32_t counts[] = {120, 90, 90};
    for (uint32_t k = 0, first = 0; k < 3; first += counts[k++])
      EXPECT_TRUE(sim::WriteRecordPart(parts_[k], Recording(), first, counts[k]));
  }

  std::vector<RefusedFile> Open(const std::vector<std::string>& paths) {
    return set_.Open(paths, base::kEnglish, header_);
  }

  std::string ReadWhole(const SectorSource& source) {
    std::string bytes(size_t{source.SectorCount()} * kSectorSize, '\0');
    EXPECT_EQ(source.ReadAt(0, bytes.data(), bytes.size()), bytes.size());
    return bytes;
  }

  RecordFixture f_;
  std::string whole_;
  std::vector<std::string> parts_;
  RecordSet set_;
  settings::DisplaySettings header_{};
};

TEST_F(RecordSetTest, PartsReadAsTheRecordingTheyWereCopiedFrom) {
  // Given in any order, the parts are put in time order.
  EXPECT_TRUE(Open({parts_[2], parts_[0], parts_[1]}).empty());
  ASSERT_EQ(set_.FileCount(), 3u);
  for (size_t k = 0; k < 3; ++k) EXPECT_EQ(set_.Member(k).path, parts_[k]);
  EXPECT_EQ(set_.Member(1).firstSector, 2u + 120u);
  EXPECT_EQ(set_.HeaderSectors(), 2u);
  EXPECT_EQ(set_.DataSectors(), 300u);
  EXPECT_EQ(settings::ChannelName(header_.channels[0]), "温度1");
  EXPECT_EQ(set_.Name(), "part");

  // Byte for byte the whole file, header included; also a read that starts
  // inside a sector and runs over both boundaries.
  EXPECT_EQ(ReadWhole(set_), ReadFileBytes(whole_));
  std::string piece(200 * kSectorSize, '\0');
  ASSERT_EQ(set_.ReadAt(100 * kSectorSize + 7, piece.data(), piece.size()), piece.size());
  EXPECT_EQ(piece, ReadFileBytes(whole_).substr(100 * kSectorSize + 7, piece.size()));
  char beyond[kSectorSize];
  EXPECT_EQ(set_.ReadAt(uint64_t{set_.SectorCount()} * kSectorSize, beyond, sizeof beyond), 0u);

  using Span = std::pair<size_t, size_t>;
  EXPECT_EQ(set_.MembersSpanning(0, 2), Span(0, 1));      // the header belongs to the first file
  EXPECT_EQ(set_.MembersSpanning(100, 100), Span(0, 2));  // 100..199 over the first boundary at 122
  EXPECT_EQ(set_.MembersSpanning(2, 300), Span(0, 3));    // everything
  EXPECT_EQ(set_.MembersSpanning(212, 1), Span(2, 3));    // the first sector of the third file
  EXPECT_EQ(set_.MembersSpanning(302, 5), Span(0, 0));    // beyond the set
}

TEST_F(RecordSetTest, HeaderBlocksOfOtherSizesAreSteppedOver) {
  sim::RecordSpec longHeader = Recording();
  longHeader.headerSectors = 5;
  ASSERT_TRUE(sim::WriteRecordPart(parts_[1], longHeader, 120, 90));
  sim::RecordSpec noHeader = Recording();
  noHeader.header = false;
  ASSERT_TRUE(sim::WriteRecordPart(parts_[2], noHeader, 210, 90));
  // Channel names count: the headerless part has default names, so it is
  // refused; the part with the long header joins.
  const std::vector<RefusedFile> refused = Open(parts_);
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_EQ(refused[0].reason, SetRefusal::ChannelNamesDiffer);
  ASSERT_EQ(set_.FileCount(), 2u);
  EXPECT_EQ(ReadWhole(set_), ReadFileBytes(whole_).substr(0, (2 + 210) * kSectorSize));
}

TEST_F(RecordSetTest, SearchDecodingAndPagesRunOnOverTheBoundaries) {
  RecordFixture split;
  split.data.recordPaths = parts_;
  split.data.sectorsPerPage = 100;
  split.data.autoPaging = 0;
  f_.data.recordPaths = {whole_};
  f_.data.sectorsPerPage = 100;
  f_.data.autoPaging = 0;
  ASSERT_TRUE(recorder::BuildPageIndex(split.data));
  ASSERT_TRUE(recorder::BuildPageIndex(f_.data));
  ASSERT_EQ(split.data.pages.size(), 3u);
  for (size_t p = 0; p < 3; ++p) {
    EXPECT_EQ(split.data.pages[p].firstSector, f_.data.pages[p].firstSector);
    EXPECT_EQ(split.data.pages[p].sectorCount, f_.data.pages[p].sectorCount);
    EXPECT_EQ(split.data.pages[p].label, f_.data.pages[p].label);
  }

  // Sector 2 + 120 starts the second file at 08:12:00.
  for (const double seconds : {0.0, 719.0, 720.0, 725.9, 726.0, 1259.0, 1260.0, 5000.0}) {
    const double target = RecordTime::FromCalendar(2015, 1, 5, 8, 0, 0).ToOleDate() + seconds / 86400.0;
    EXPECT_EQ(FindSector(split.data.recordSet, target), FindSector(f_.data.recordSet, target)) << seconds;
  }
  EXPECT_EQ(FindSector(split.data.recordSet, RecordTime::FromCalendar(2015, 1, 5, 8, 12, 0).ToOleDate()), 122u);

  SampleBuffer a, b;
  DecodeSectorRange(split.data.recordSet, 100, 150, a);
  DecodeSectorRange(f_.data.recordSet, 100, 150, b);
  ASSERT_EQ(a.size(), 150u * 6u);
  ASSERT_EQ(b.size(), a.size());
  for (size_t i = 0; i < a.size(); ++i) {
    ASSERT_EQ(a[i].time.ticks, b[i].time.ticks) << i;
    for (int c = 0; c < 3; ++c) ASSERT_EQ(a[i].values[c], b[i].values[c]) << i;
  }
}

TEST_F(RecordSetTest, ForeignDamagedOverlappingAndLockedFilesAreRefusedByName) {
  WriteFileBytes(f_.dir.File("junk.D04"), std::string(4096, 'x'));
  sim::RecordSpec fourChannels = Recording();
  fourChannels.channels = 4;
  fourChannels.hour = 10;
  ASSERT_TRUE(sim::WriteRecordFile(f_.dir.File("other.D05"), fourChannels));
  sim::RecordSpec renamed = Recording();
  renamed.names[1] = "Level";
  renamed.hour = 11;
  ASSERT_TRUE(sim::WriteRecordFile(f_.dir.File("names.D06"), renamed));
  ASSERT_TRUE(sim::WriteRecordPart(f_.dir.File("again.D07"), Recording(), 150, 10));  // inside part.D02's times
  ASSERT_TRUE(sim::WriteRecordFile(f_.dir.File("held.D08"), Recording()));
  RecordFile holder;
  ASSERT_TRUE(holder.Open(f_.dir.File("held.D08")));

  f_.data.language = base::kEnglish;
  f_.data.recordPaths = RecordFilesInFolder(f_.dir.path().string());
  f_.data.recordPaths.erase(std::find(f_.data.recordPaths.begin(), f_.data.recordPaths.end(), whole_));
  ASSERT_TRUE(recorder::BuildPageIndex(f_.data));
  ASSERT_EQ(f_.data.recordSet.FileCount(), 3u);
  for (size_t k = 0; k < 3; ++k) EXPECT_EQ(f_.data.recordSet.Member(k).path, parts_[k]);
  ASSERT_EQ(f_.sink.said.size(), 1u);
  // Named in the folder's (name) order.
  EXPECT_EQ(f_.sink.said[0],
            "These files were not opened:\n"
            "again.D07: its times overlap part.D02\n"
            "held.D08: failed to open file\n"
            "junk.D04: holds no valid record\n"
            "names.D06: channel names differ from the other files\n"
            "other.D05: 4 channels, the other files 3");
}

TEST_F(RecordSetTest, TheLayoutMostFilesShareIsTheSets) {
  sim::RecordSpec foreign = Recording();
  foreign.channels = 5;
  foreign.hour = 7;  // earliest of all
  const std::string early = f_.dir.File("early.D01");
  ASSERT_TRUE(sim::WriteRecordFile(early, foreign));
  std::vector<RefusedFile> refused = Open({early, parts_[0], parts_[1]});
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_EQ(refused[0].path, early);
  EXPECT_EQ(RefusalText(refused[0], base::kChinese), "early.D01：5 个通道，其他文件 3 个");
  EXPECT_EQ(set_.FileCount(), 2u);

  // On a tie the earliest file's layout holds.
  refused = Open({parts_[0], early});
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_EQ(refused[0].path, parts_[0]);
}

TEST_F(RecordSetTest, FilesStayLockedWhileTheSetIsOpen) {
  ASSERT_TRUE(Open(parts_).empty());
  RecordFile other;
  for (const std::string& part : parts_) EXPECT_FALSE(other.Open(part)) << part;
  // A second open of the same set refuses nothing: the first is closed first.
  EXPECT_TRUE(Open(parts_).empty());
  set_.Close();
  for (const std::string& part : parts_) EXPECT_TRUE(other.Open(part)) << part;
}

TEST_F(RecordSetTest, FoldersStandForTheirRecordFiles) {
  const std::filesystem::path folder = f_.dir.path() / "copied";
  std::filesystem::create_directories(folder / "sub.D03");
  for (const char* name : {"b.d02", "a.D01", "c.D99", "d.D00", "e.D1", "f.txt", "g.D011", "h.DT"})
    WriteFileBytes((folder / name).string(), "x");
  ASSERT_TRUE(tessaly::testing::MakeNonRegularFile((folder / "pipe.D04").string()));
  const std::string f = folder.string() + "/";
  EXPECT_EQ(RecordFilesInFolder(folder.string()), (std::vector<std::string>{f + "a.D01", f + "b.d02", f + "c.D99"}));
  EXPECT_EQ(RecordFilesInFolder(f + "missing"), std::vector<std::string>{});
  // A folder expands in place; a path named twice counts once.
  EXPECT_EQ(ExpandRecordPaths({f + "c.D99", folder.string(), whole_, whole_}),
            (std::vector<std::string>{f + "c.D99", f + "a.D01", f + "b.d02", whole_}));
}

}  // namespace
}  // namespace tessaly::record
