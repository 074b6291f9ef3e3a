#include <gtest/gtest.h>

#include "record/page_index.h"
#include "record/search.h"
#include "record_writer.h"
#include "recorder/search_by_time.h"
#include "support/record_fixture.h"

namespace tessaly::record {
namespace {

using namespace tessaly::recorder;

using sim::RecordSpec;
using sim::SectorFault;
using tessaly::testing::RecordFixture;

// A 2-sector header and 1000 data sectors starting one minute apart from
// 2015-01-05 10:00:00: absolute sector s starts at 10:00 + (s - 2) minutes.
RecordSpec MinuteSpec() {
  RecordSpec recordSpec;
  recordSpec.sectorCount = 1000;
  recordSpec.samplesPerSector = 6;
  recordSpec.interval = 100;
  recordSpec.hour = 10;
  return recordSpec;
}

CalendarFields At(int hour, int minute, int second, int day = 5) { return {2015, 1, day, hour, minute, second, 0}; }

double Ole(const CalendarFields& f) {
  return RecordTime::FromCalendar(f.year, f.month, f.day, f.hour, f.minute, f.second).ToOleDate();
}

// Start time of absolute sector s of MinuteSpec.
CalendarFields SectorStart(uint32_t s) {
  const uint32_t minutes = s - 2;
  return At(10 + static_cast<int>(minutes / 60) % 24, static_cast<int>(minutes % 60), 0,
            5 + static_cast<int>((10 * 60 + minutes) / (24 * 60)));
}

struct FindCase {
  const char* name;
  CalendarFields target;
  uint32_t sector;
};

void ExpectFinds(const RecordFixture& f, const std::vector<FindCase>& cases) {
  for (const FindCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindSector(f.data.recordSet, Ole(c.target)), c.sector);
  }
}

TEST(FindSector, FindsTheLastSectorStartingNoLaterThanTheTarget) {
  RecordFixture f;
  ASSERT_TRUE(f.Open(MinuteSpec()));
  ExpectFinds(f, {
                     {"inside", At(10, 5, 30), 7},
                     {"exact", At(10, 9, 0), 11},
                     {"before-all", At(9, 0, 0), 2},
                     {"first", At(10, 0, 0), 2},
                     {"last", SectorStart(1001), 1001},
                     {"after-all", At(10, 0, 0, 6), 1001},
                     {"one-before-the-middle", SectorStart(501), 501},
                 });
}

TEST(FindSector, StepsDownOverBadSectorsOnTheProbePath) {
  RecordFixture f;
  RecordSpec recordSpec = MinuteSpec();
  // The first probe is sector 502 (data sector 500).
  recordSpec.faults = {{493, 496, SectorFault::BadCrc}, {497, 500, SectorFault::NotCalendar}};
  ASSERT_TRUE(f.Open(recordSpec));
  ExpectFinds(f, {
                     {"below", At(10, 5, 30), 7},
                     {"above", SectorStart(700), 700},
                     {"in-the-bad-run", SectorStart(498), 494},
                     // Everything between the last good probe (494) and the
                     // probe 502 is bad: the search stops at that lower bound.
                     {"just-above-the-bad-run", SectorStart(503), 494},
                 });
}

TEST(FindSector, AllBadBelowTheProbeGivesTheLowerBound) {
  RecordFixture f;
  RecordSpec recordSpec = MinuteSpec();
  recordSpec.sectorCount = 60;
  recordSpec.faults = {{1, 30, SectorFault::BadCrc}};
  ASSERT_TRUE(f.Open(recordSpec));
  ExpectFinds(f, {{"bad-down-to-the-first", SectorStart(40), 2}, {"before-all", At(9, 0, 0), 2}});
}

TEST(SearchByTime, LoadsOrKeepsTheRangeOfSectorsCoveringBothMoments) {
  RecordFixture f;
  ASSERT_TRUE(f.Open(MinuteSpec()));

  SearchOutcome load = SearchByTime(f.data, At(10, 5, 30), At(10, 9, 0), false, false);
  EXPECT_EQ(load.action, SearchAction::Load);
  EXPECT_EQ(load.entry.firstSector, 7u);
  EXPECT_EQ(load.entry.sectorCount, 5u);
  EXPECT_TRUE(f.data.searched.empty());
  EXPECT_EQ(f.data.nextSearchedItemData, SearchedItemBase);

  const SearchOutcome kept = SearchByTime(f.data, At(10, 5, 30), At(10, 9, 0), true, false);
  EXPECT_EQ(kept.action, SearchAction::Keep);
  EXPECT_EQ(kept.itemData, 2'000'000'000);
  EXPECT_EQ(kept.entry.label, "2015_01_05 10:05:30--2015_01_05 10:09:00");
  const SearchOutcome second = SearchByTime(f.data, At(9, 0, 0), At(10, 1, 0), true, false);
  EXPECT_EQ(second.itemData, 2'000'000'001);
  ASSERT_EQ(f.data.searched.size(), 2u);
  EXPECT_EQ(f.data.searched[1].firstSector, 2u);
  EXPECT_EQ(f.data.searched[1].sectorCount, 2u);
  EXPECT_FALSE(second.cleared);

  const SearchOutcome fresh = SearchByTime(f.data, At(10, 0, 0), At(10, 2, 0), true, true);
  EXPECT_TRUE(fresh.cleared);
  EXPECT_EQ(fresh.itemData, 2'000'000'000);
  ASSERT_EQ(f.data.searched.size(), 1u);
  EXPECT_EQ(f.data.searched[0].label, "2015_01_05 10:00:00--2015_01_05 10:02:00");
  EXPECT_EQ(f.data.nextSearchedItemData, 2'000'000'001);
}

TEST(SearchByTime, NothingHappensWhenBothMomentsShareASector) {
  struct Case {
    const char* name;
    CalendarFields start, stop;
  };
  const Case cases[] = {{"same-sector", At(10, 5, 10), At(10, 5, 50)},
                        {"both-before", At(8, 0, 0), At(9, 0, 0)},
                        {"both-after", At(10, 0, 0, 7), At(11, 0, 0, 7)}};
  RecordFixture f;
  ASSERT_TRUE(f.Open(MinuteSpec()));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SearchByTime(f.data, c.start, c.stop, true, false).action, SearchAction::Nothing);
    EXPECT_TRUE(f.data.searched.empty());
    EXPECT_EQ(f.data.nextSearchedItemData, SearchedItemBase);
  }
  // With clearTree the branch is cleared even when nothing is found.
  f.data.searched.push_back({1, "x", 1});
  f.data.nextSearchedItemData = SearchedItemBase + 1;
  const SearchOutcome cleared = SearchByTime(f.data, At(10, 5, 10), At(10, 5, 50), true, true);
  EXPECT_TRUE(cleared.cleared);
  EXPECT_TRUE(f.data.searched.empty());
  EXPECT_EQ(f.data.nextSearchedItemData, SearchedItemBase);
}

TEST(SearchByTime, FindsNothingWithoutAnOpenFile) {
  RecordFixture f;
  EXPECT_EQ(SearchByTime(f.data, At(10, 0, 0), At(11, 0, 0), false, false).action, SearchAction::Nothing);
}

TEST(SearchByTime, StopMustBeLaterThanStartInEitherLanguage) {
  for (const int language : {0, 1}) {
    RecordFixture f;
    f.data.language = language;
    EXPECT_TRUE(SearchMomentsReasonable(f.data, At(10, 0, 0), At(10, 0, 1)));
    EXPECT_FALSE(SearchMomentsReasonable(f.data, At(10, 0, 0), At(10, 0, 0)));
    EXPECT_FALSE(SearchMomentsReasonable(f.data, At(10, 0, 1), At(10, 0, 0)));
    EXPECT_EQ(f.sink.said, (std::vector<std::string>{"时间设置不合理", "时间设置不合理"}));
  }
}

}  // namespace
}  // namespace tessaly::record
