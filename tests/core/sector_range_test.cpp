#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "record/record_file.h"
#include "record/sector_range.h"
#include "record_writer.h"
#include "support/sample_fixture.h"
#include "support/temp_dir.h"

namespace tessaly::record {
namespace {

using sim::SectorFault;

class SectorRangeTest : public ::testing::Test {
 protected:
  void Write(const sim::RecordSpec& recordSpec) {
    const std::string path = dir_.File("r.D01");
    ASSERT_TRUE(sim::WriteRecordFile(path, recordSpec));
    ASSERT_TRUE(file_.Open(path));
  }

  tessaly::testing::TempDir dir_;
  RecordFile file_;
};

TEST_F(SectorRangeTest, SkipsWhatCannotBeDecodedAndVisitsEverySector) {
  sim::RecordSpec recordSpec;
  recordSpec.header = false;
  recordSpec.sectorCount = 5;
  recordSpec.faults = {{1, 1, SectorFault::BadCrc}, {2, 2, SectorFault::YearTooLarge}, {4, 4, SectorFault::MonthZero}};
  Write(recordSpec);
  SampleBuffer samples = tessaly::testing::BufferOf(std::vector<Sample>(3));  // a previous load's samples go
  std::vector<std::pair<uint32_t, bool>> visits;
  // Sectors 0 to 6 of a 5-sector file: the two beyond the end are skipped too.
  const RangeOutcome outcome = DecodeSectorRange(file_, 0, 7, samples, [&](uint32_t i, bool decoded) {
    visits.emplace_back(i, decoded);
    return true;
  });
  const std::vector<std::pair<uint32_t, bool>> expected = {{0, true}, {1, false}, {2, false}, {3, true},
                                                           {4, true}, {5, false}, {6, false}};
  EXPECT_EQ(visits, expected);
  EXPECT_EQ(outcome.sectorsVisited, 7u);
  EXPECT_FALSE(outcome.bufferFull);
  ASSERT_EQ(samples.size(), 3u * 6u);
  EXPECT_EQ(samples[6].time.ticks, RecordTime::FromCalendar(2015, 1, 5, 8, 0, 18).ticks);  // sector 3
  EXPECT_EQ(samples[12].time.status, RecordTimeStatus::Invalid);                           // sector 4, month 0
}

TEST_F(SectorRangeTest, VisitorStopsBeforeTheNextSector) {
  sim::RecordSpec recordSpec;
  recordSpec.sectorCount = 10;
  Write(recordSpec);
  SampleBuffer samples;
  // Absolute sector numbers: the header's two sectors are skipped as bad.
  const RangeOutcome outcome = DecodeSectorRange(file_, 0, 10, samples, [](uint32_t i, bool) { return i < 3; });
  EXPECT_EQ(outcome.sectorsVisited, 4u);
  EXPECT_EQ(samples.size(), 2u * 6u);
}

TEST_F(SectorRangeTest, EndsWhenTheBufferIsFull) {
  sim::RecordSpec recordSpec;
  recordSpec.header = false;
  recordSpec.channels = 1;
  recordSpec.samplesPerSector = 119;
  recordSpec.sectorCount = 8410;
  Write(recordSpec);
  SampleBuffer samples;
  uint32_t lastVisit = 0;
  const RangeOutcome outcome = DecodeSectorRange(file_, 0, recordSpec.sectorCount, samples, [&](uint32_t i, bool) {
    lastVisit = i;
    return true;
  });
  // 8403 whole sectors hold 999,957 samples; sector 8403 fills the buffer at its 43rd.
  EXPECT_TRUE(outcome.bufferFull);
  EXPECT_EQ(outcome.sectorsVisited, 8404u);
  EXPECT_EQ(lastVisit, 8402u);
  ASSERT_EQ(samples.size(), kSampleBufferLimit);
  EXPECT_EQ(samples.back().values[0], sim::DemoWave(0, 8403 * 119 + 42));
}

}  // namespace
}  // namespace tessaly::record
