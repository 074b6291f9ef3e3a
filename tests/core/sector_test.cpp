#include <array>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "record/record_file.h"
#include "record/sector.h"
#include "record/sector_range.h"
#include "record_writer.h"
#include "support/temp_dir.h"

namespace tessaly::record {
namespace {

// The six time bytes of a sector: year - 2000, month, day, hour, minute, second.
struct Stamp {
  int year, month, day, hour, minute, second;
};

// Sample s of channel c holds 100 s + c, so every value tells where it came from.
float Marked(int channel, uint64_t sample) { return static_cast<float>(100 * sample + static_cast<uint64_t>(channel)); }

// A sealed sector on the heap, exactly 512 bytes, so that a read beyond it is
// caught by the address sanitizer.
std::vector<unsigned char> MakeSector(Stamp t, uint16_t interval, int channels, int samples,
                                      const std::array<int, 18>& decimals = {}) {
  sim::RecordSpec recordSpec;
  recordSpec.decimals = decimals;
  recordSpec.channels = channels;
  recordSpec.samplesPerSector = samples;
  recordSpec.interval = interval;
  recordSpec.waveform = Marked;
  std::vector<unsigned char> sector(kSectorSize);
  sim::BuildSector(recordSpec, 0, sector.data());
  const int bytes[6] = {t.year, t.month, t.day, t.hour, t.minute, t.second};
  for (int i = 0; i < 6; ++i) sector[i] = static_cast<unsigned char>(bytes[i]);
  sim::SealSector(sector.data());
  return sector;
}

RecordTime At(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
  return RecordTime::FromCalendar(y, mo, d, h, mi, s).Add(int64_t{ms} * 10'000);
}

// Decodes the sectors in order into a fresh buffer with one state.
struct Decoded {
  SampleBuffer samples;
  DecodeState state;
  void Add(const std::vector<unsigned char>& sector) {
    ASSERT_TRUE(SectorDecodable(sector.data()));
    ASSERT_EQ(DecodeSector(sector.data(), state, samples), DecodeResult::Continue);
  }
};

void ExpectTimes(const SampleBuffer& samples, size_t from, const std::vector<RecordTime>& times) {
  ASSERT_GE(samples.size(), from + times.size());
  for (size_t i = 0; i < times.size(); ++i) {
    EXPECT_EQ(samples[from + i].time.status, times[i].status) << "sample " << from + i;
    EXPECT_EQ(samples[from + i].time.ticks, times[i].ticks) << "sample " << from + i;
  }
}

TEST(SectorChecks, CalendarValidIsStricterThanDecodable) {
  struct Case {
    const char* what;
    Stamp stamp;
    bool decodable, calendarValid;
  };
  const Case cases[] = {
      {"ordinary", {15, 1, 5, 8, 0, 0}, true, true},
      {"month 0", {15, 0, 5, 8, 0, 0}, true, false},
      {"month 13", {15, 13, 5, 8, 0, 0}, false, false},
      {"day 0", {15, 3, 0, 8, 0, 0}, true, false},
      {"31 April", {15, 4, 31, 8, 0, 0}, true, false},
      {"day 32", {15, 1, 32, 8, 0, 0}, false, false},
      {"29 February of a leap year", {16, 2, 29, 8, 0, 0}, true, true},
      {"29 February otherwise", {15, 2, 29, 8, 0, 0}, true, false},
      {"hour 23", {15, 1, 5, 23, 59, 59}, true, true},
      {"hour 24", {15, 1, 5, 24, 0, 0}, true, false},
      {"hour 30", {15, 1, 5, 30, 0, 0}, true, false},
      {"hour 59", {15, 1, 5, 59, 0, 0}, true, false},
      {"hour 60", {15, 1, 5, 60, 0, 0}, false, false},
      {"minute 60", {15, 1, 5, 8, 60, 0}, false, false},
      {"second 60", {15, 1, 5, 8, 0, 60}, false, false},
      {"year 2099", {99, 1, 5, 8, 0, 0}, true, true},
      {"year byte 100", {100, 1, 5, 8, 0, 0}, false, true},
      {"year byte 150", {150, 1, 5, 8, 0, 0}, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<unsigned char> sector = MakeSector(c.stamp, 10, 4, 6);
    EXPECT_TRUE(SectorCrcOk(sector.data()));
    EXPECT_EQ(SectorDecodable(sector.data()), c.decodable);
    RecordTime start;
    EXPECT_EQ(SectorCalendarValid(sector.data(), &start), c.calendarValid);
    if (c.calendarValid) {
      const CalendarFields f = start.Fields();
      EXPECT_EQ(f.year, 2000 + c.stamp.year);
      EXPECT_EQ(f.day, c.stamp.day);
      EXPECT_EQ(f.second, c.stamp.second);
    }
    sector[100] ^= 1;  // any damaged byte fails all three
    EXPECT_FALSE(SectorCrcOk(sector.data()));
    EXPECT_FALSE(SectorDecodable(sector.data()));
    EXPECT_FALSE(SectorCalendarValid(sector.data()));
  }
}

TEST(SectorChecks, StartTimesAndTheFirstCalendarValidSectorOfAFile) {
  tessaly::testing::TempDir dir;
  std::string bytes;
  const auto add = [&bytes](const std::vector<unsigned char>& s) { bytes.append(s.begin(), s.end()); };
  add(MakeSector({15, 0, 5, 8, 0, 0}, 10, 4, 6));   // 0: month 0
  add(MakeSector({15, 1, 5, 30, 0, 0}, 10, 4, 6));  // 1: hour 30
  add(MakeSector({15, 1, 5, 12, 0, 0}, 10, 7, 6));  // 2: the first calendar-valid one
  add(MakeSector({15, 1, 5, 12, 0, 6}, 10, 4, 6));
  const std::string path = dir.File("r.D01");
  tessaly::testing::WriteFileBytes(path, bytes + std::string(100, '\0'));
  RecordFile file;
  ASSERT_TRUE(file.Open(path));

  EXPECT_EQ(SectorStartTime(file, 0).status, RecordTimeStatus::Invalid);
  EXPECT_EQ(SectorStartTime(file, 1).status, RecordTimeStatus::Invalid);
  const SectorStart start = SectorStartTime(file, 2);
  EXPECT_EQ(start.status, RecordTimeStatus::Valid);
  EXPECT_NEAR(start.oleDate, 42009.5, 1e-9);                              // 2015-01-05 12:00
  EXPECT_EQ(SectorStartTime(file, 4).status, RecordTimeStatus::Invalid);  // a part sector at the end

  unsigned char sector[kSectorSize];
  EXPECT_EQ(FindCalendarValidSector(file, 0, sector), 2u);
  EXPECT_EQ(sector[9], 7);
  EXPECT_EQ(FindCalendarValidSector(file, 3, sector), 3u);
  EXPECT_EQ(FindCalendarValidSector(file, 4, sector), std::nullopt);
  EXPECT_EQ(FindCalendarValidSector(file, UINT32_MAX, sector), std::nullopt);
}

TEST(SectorChecks, OnlyTheFirstFiftySectorsAreSearched) {
  tessaly::testing::TempDir dir;
  std::string bytes;
  for (int i = 0; i < 51; ++i) {
    const std::vector<unsigned char> s = MakeSector({15, i < 50 ? 0 : 1, 5, 8, 0, 0}, 10, 4, 6);
    bytes.append(s.begin(), s.end());
  }
  const std::string path = dir.File("r.D01");
  tessaly::testing::WriteFileBytes(path, bytes);
  RecordFile file;
  ASSERT_TRUE(file.Open(path));
  unsigned char sector[kSectorSize];
  EXPECT_EQ(FindCalendarValidSector(file, 0, sector), std::nullopt);
  EXPECT_EQ(FindCalendarValidSector(file, 1, sector), 50u);
}

TEST(SectorDecode, ValueOffsetsAndDecimalNibbles) {
  std::vector<unsigned char> sector = MakeSector({15, 1, 5, 8, 0, 0}, 10, 3, 2);
  const float values[6] = {1.5f, -2.25f, 3.0f, 4.5f, 5.75f, -6.0f};
  for (int i = 0; i < 6; ++i) std::memcpy(&sector[36 + 4 * i], &values[i], 4);  // sample 1 at 48, 52, 56
  sector[20] = 0x21;  // channel 0 in the low nibble, channel 1 in the high one
  sector[21] = 0xF3;  // channel 2: 3; the high nibble is channel 3's, beyond C
  sim::SealSector(sector.data());
  Decoded d;
  d.Add(sector);
  ASSERT_EQ(d.samples.size(), 2u);
  for (int s = 0; s < 2; ++s) {
    const Sample& sample = d.samples[s];
    EXPECT_EQ(sample.decimals[0], 1);
    EXPECT_EQ(sample.decimals[1], 2);
    EXPECT_EQ(sample.decimals[2], 3);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(sample.values[c], values[3 * s + c]);
    for (int c = 3; c < kChannelCount; ++c) {
      EXPECT_EQ(sample.values[c], 0.0f);
      EXPECT_EQ(sample.decimals[c], 0);
    }
  }
}

// The gap rule: a sector stamped less than a second after the previous one's
// end joins it; a gap of exactly one second, or a start before the end, stays.
TEST(SectorDecode, GapShorterThanOneSecondIsClosed) {
  struct Case {
    const char* what;
    Stamp first;
    uint16_t interval;
    int samples;
    RecordTime firstEnd;
    Stamp second;
    RecordTime secondStart;
  };
  const Case cases[] = {
      {"starts at the end",
       {15, 1, 5, 12, 0, 0},
       10,
       3,
       At(2015, 1, 5, 12, 0, 3),
       {15, 1, 5, 12, 0, 3},
       At(2015, 1, 5, 12, 0, 3)},
      {"gap of exactly one second",
       {15, 1, 5, 12, 0, 0},
       10,
       3,
       At(2015, 1, 5, 12, 0, 3),
       {15, 1, 5, 12, 0, 4},
       At(2015, 1, 5, 12, 0, 4)},
      {"half a second after the end",
       {15, 1, 5, 8, 15, 20},
       3,
       5,
       At(2015, 1, 5, 8, 15, 21, 500),
       {15, 1, 5, 8, 15, 22},
       At(2015, 1, 5, 8, 15, 21, 500)},
      {"before the end",
       {15, 1, 5, 8, 15, 20},
       3,
       5,
       At(2015, 1, 5, 8, 15, 21, 500),
       {15, 1, 5, 8, 15, 21},
       At(2015, 1, 5, 8, 15, 21)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Decoded d;
    d.Add(MakeSector(c.first, c.interval, 4, c.samples));
    EXPECT_EQ(d.state.previousEnd.ticks, c.firstEnd.ticks);
    d.Add(MakeSector(c.second, c.interval, 4, c.samples));
    ExpectTimes(d.samples, static_cast<size_t>(c.samples), {c.secondStart});
  }
}

TEST(SectorDecode, SampleTimesFollowTheInterval) {
  Decoded oneSecond;
  oneSecond.Add(MakeSector({15, 1, 5, 12, 0, 0}, 10, 4, 3));
  ExpectTimes(oneSecond.samples, 0, {At(2015, 1, 5, 12, 0, 0), At(2015, 1, 5, 12, 0, 1), At(2015, 1, 5, 12, 0, 2)});

  Decoded tenths;
  tenths.Add(MakeSector({15, 1, 5, 8, 15, 20}, 3, 4, 5));
  ExpectTimes(tenths.samples, 0,
              {At(2015, 1, 5, 8, 15, 20, 0), At(2015, 1, 5, 8, 15, 20, 300), At(2015, 1, 5, 8, 15, 20, 600),
               At(2015, 1, 5, 8, 15, 20, 900), At(2015, 1, 5, 8, 15, 21, 200)});
  EXPECT_EQ(tenths.state.previousEnd.ticks, At(2015, 1, 5, 8, 15, 21, 500).ticks);
}

// More than eleven samples in one calendar second: from the twelfth on, each
// is stored one second later.
TEST(SectorDecode, SameSecondRunShiftsFromTheTwelfthSample) {
  Decoded d;
  d.Add(MakeSector({15, 1, 5, 9, 0, 0}, 0, 4, 15));
  const RecordTime t = At(2015, 1, 5, 9, 0, 0);
  const RecordTime later = At(2015, 1, 5, 9, 0, 1);
  std::vector<RecordTime> expected(11, t);
  expected.insert(expected.end(), 4, later);
  ExpectTimes(d.samples, 0, expected);
}

// Without channels a sector may name 255 samples, all of one second at
// interval 0: every one from the twelfth on is stored a second later.
TEST(SectorDecode, SameSecondRunCoversEverySampleOfASectorWithoutChannels) {
  Decoded d;
  d.Add(MakeSector({15, 1, 5, 9, 0, 0}, 0, 0, 255));
  std::vector<RecordTime> expected(11, At(2015, 1, 5, 9, 0, 0));
  expected.insert(expected.end(), 244, At(2015, 1, 5, 9, 0, 1));
  ExpectTimes(d.samples, 0, expected);
  for (size_t s : {0u, 128u, 254u}) {
    const Sample sample = d.samples[s];
    EXPECT_EQ(sample.values[0], 0.0f);
    EXPECT_EQ(sample.decimals[17], 0);
  }
}

TEST(SectorDecode, OverlappingSectorsShareTheRunOfASecond) {
  Decoded d;
  d.Add(MakeSector({15, 1, 5, 10, 0, 0}, 1, 4, 15));  // A: 00.0 to 01.4
  d.Add(MakeSector({15, 1, 5, 10, 0, 1}, 1, 4, 15));  // B: from 01.0, before A's end at 01.5
  std::vector<RecordTime> a;
  for (int i = 0; i < 15; ++i) a.push_back(At(2015, 1, 5, 10, 0, 0, 100 * i));
  ExpectTimes(d.samples, 0, a);
  // Second 01 holds A's five samples, then B's 01.0 to 01.9: B's 01.6 to 01.9
  // are the twelfth to fifteenth of the run. B's 02.0 starts a new run.
  std::vector<RecordTime> b;
  for (int i = 0; i < 6; ++i) b.push_back(At(2015, 1, 5, 10, 0, 1, 100 * i));
  for (int i = 6; i < 10; ++i) b.push_back(At(2015, 1, 5, 10, 0, 2, 100 * i));
  for (int i = 10; i < 15; ++i) b.push_back(At(2015, 1, 5, 10, 0, 1, 100 * i));
  ExpectTimes(d.samples, 15, b);
}

TEST(SectorDecode, DecodableTimesThatAreNoCalendarTimes) {
  Decoded monthZero;
  monthZero.Add(MakeSector({15, 0, 5, 8, 0, 0}, 10, 4, 3));
  ASSERT_EQ(monthZero.samples.size(), 3u);
  for (const Sample& s : monthZero.samples) EXPECT_EQ(s.time.status, RecordTimeStatus::Invalid);
  EXPECT_EQ(monthZero.samples[2].values[1], Marked(1, 2));  // the values are still there

  Decoded dayZero;
  dayZero.Add(MakeSector({15, 3, 0, 8, 0, 0}, 10, 4, 1));
  ExpectTimes(dayZero.samples, 0, {At(2015, 2, 28, 8, 0, 0)});

  Decoded hour30;
  hour30.Add(MakeSector({15, 1, 5, 30, 0, 0}, 10, 4, 1));
  ExpectTimes(hour30.samples, 0, {At(2015, 1, 6, 6, 0, 0)});
}

TEST(SectorDecode, BufferLimitStopsMidSector) {
  SampleBuffer buffer;
  for (size_t i = 0; i < kSampleBufferLimit - 2; ++i) buffer.push_back(Sample{});
  DecodeState state;
  const std::vector<unsigned char> sector = MakeSector({15, 1, 5, 8, 0, 0}, 10, 4, 6);
  EXPECT_EQ(DecodeSector(sector.data(), state, buffer), DecodeResult::BufferFull);
  ASSERT_EQ(buffer.size(), kSampleBufferLimit);
  EXPECT_EQ(buffer.back().values[0], Marked(0, 1));
}

// A sample at the end of a run of sub-second samples is the twelfth of its
// second even when its sector steps a second at a time; the run then ends.
TEST(SectorDecode, SameSecondRunReachesIntoASectorOfWholeSeconds) {
  Decoded d;
  d.Add(MakeSector({15, 1, 5, 10, 0, 0}, 0, 4, 11));  // eleven at 10:00:00
  d.Add(MakeSector({15, 1, 5, 10, 0, 0}, 10, 4, 3));  // 00, 01, 02
  d.Add(MakeSector({15, 1, 5, 10, 0, 2}, 0, 4, 11));  // joins the run of 02
  std::vector<RecordTime> expected(11, At(2015, 1, 5, 10, 0, 0));
  expected.push_back(At(2015, 1, 5, 10, 0, 1));  // shifted
  expected.push_back(At(2015, 1, 5, 10, 0, 1));
  expected.push_back(At(2015, 1, 5, 10, 0, 2));
  expected.insert(expected.end(), 10, At(2015, 1, 5, 10, 0, 2));
  expected.push_back(At(2015, 1, 5, 10, 0, 3));  // the twelfth of second 02
  ExpectTimes(d.samples, 0, expected);

  // Times that are not valid form one run whatever their sectors' intervals;
  // they stay not valid, and the run goes on across sectors.
  d.Add(MakeSector({15, 0, 5, 10, 0, 0}, 10, 4, 6));
  d.Add(MakeSector({15, 0, 5, 10, 0, 0}, 10, 4, 6));
  EXPECT_EQ(d.state.run, DecodeState::Run::NotValid);
  EXPECT_EQ(d.state.runLength, 11);
  d.Add(MakeSector({15, 1, 5, 10, 0, 2}, 0, 4, 1));
  ExpectTimes(d.samples, 37, {At(2015, 1, 5, 10, 0, 2)});  // a new run
}

// Every shape of sector keeps its samples, whether the loader's read left it
// in place, it needed only part of its bytes, or a bad sector before it made
// it move: a range read gives what decoding each sector on its own gives, and
// the field reads agree with the whole samples.
TEST(SectorDecode, RangeKeepsEveryShapeOfSector) {
  struct Shape {
    int channels, samples;
    uint16_t interval;
  };
  // The 18-channel sector after the 2-channel one moves onto part of itself.
  const Shape shapes[] = {{18, 6, 10}, {18, 6, 10}, {2, 3, 10}, {18, 6, 10}, {0, 0, 0},   {1, 119, 1},
                          {0, 4, 10},  {5, 20, 10}, {18, 6, 0}, {7, 17, 10}, {18, 1, 10}, {18, 6, 10}};
  std::vector<std::vector<unsigned char>> sectors;
  std::string bytes;
  for (size_t k = 0; k < std::size(shapes); ++k) {
    std::array<int, 18> decimals{};
    for (int c = 0; c < 18; ++c) decimals[c] = static_cast<int>((static_cast<size_t>(c) + k) % 16);
    sectors.push_back(MakeSector({15, 1, 5, 8, static_cast<int>(k), 0}, shapes[k].interval, shapes[k].channels,
                                 shapes[k].samples, decimals));
    if (shapes[k].samples == 0) sectors.back()[40] ^= 1;  // a bad sector
    bytes.append(sectors.back().begin(), sectors.back().end());
  }
  tessaly::testing::TempDir dir;
  const std::string path = dir.File("r.D01");
  tessaly::testing::WriteFileBytes(path, bytes);
  RecordFile file;
  ASSERT_TRUE(file.Open(path));
  SampleBuffer ranged;
  DecodeSectorRange(file, 0, static_cast<uint32_t>(sectors.size()), ranged);

  Decoded each;
  for (const auto& sector : sectors)
    if (SectorDecodable(sector.data())) each.Add(sector);
  ASSERT_EQ(ranged.size(), 6u + 6 + 3 + 6 + 119 + 4 + 20 + 6 + 17 + 1 + 6);
  ASSERT_EQ(ranged.size(), each.samples.size());
  for (size_t i = 0; i < ranged.size(); ++i) {
    SCOPED_TRACE(::testing::Message() << "sample " << i);
    const Sample a = ranged[i];
    const Sample b = each.samples[i];
    EXPECT_EQ(a.time.status, b.time.status);
    EXPECT_EQ(a.time.ticks, b.time.ticks);
    EXPECT_EQ(ranged.TimeAt(i).ticks, a.time.ticks);
    for (int c = 0; c < kChannelCount; ++c) {
      EXPECT_EQ(a.values[c], b.values[c]) << "channel " << c;
      EXPECT_EQ(a.decimals[c], b.decimals[c]) << "channel " << c;
      EXPECT_EQ(ranged.ValueAt(i, c), a.values[c]) << "channel " << c;
      EXPECT_EQ(ranged.DecimalsAt(i, c), a.decimals[c]) << "channel " << c;
    }
  }
  // A walker gives the same samples going forward one by one, in strides
  // that skip sectors, and going back.
  const auto same = [&](const Sample& w, size_t i) {
    const Sample a = ranged[i];
    EXPECT_EQ(w.time.ticks, a.time.ticks) << "sample " << i;
    EXPECT_EQ(std::memcmp(w.values, a.values, sizeof a.values), 0) << "sample " << i;
    EXPECT_EQ(std::memcmp(w.decimals, a.decimals, sizeof a.decimals), 0) << "sample " << i;
  };
  SampleBuffer::Walker walker(ranged);
  for (size_t i = 0; i < ranged.size(); ++i) same(walker.At(i), i);
  SampleBuffer::Walker strides(ranged);
  for (size_t i : {size_t{0}, size_t{7}, size_t{150}, size_t{3}, size_t{186}, size_t{20}, ranged.size() - 1})
    same(strides.At(i), i);
  // Spot checks against the sectors themselves: the last sample of the
  // 7-channel sector (sector 9), channel 6, decimals (6 + 9) % 16.
  const Sample last7 = ranged[6 + 6 + 3 + 6 + 119 + 4 + 20 + 6 + 16];
  EXPECT_EQ(last7.values[6], Marked(6, 16));
  EXPECT_EQ(last7.decimals[6], 15);
  EXPECT_EQ(last7.values[7], 0.0f);
  EXPECT_EQ(last7.decimals[7], 0);
}

// Sectors beyond the layout are read only as far as the 512 bytes and the 18
// channel slots go: whole samples inside the sector, channels above 18 dropped.
TEST(SectorDecode, LayoutLimitSectorsStayInsideTheSector) {
  struct Case {
    int channels, samples;
    size_t decoded;
  };
  const Case cases[] = {{18, 7, 6},  {19, 7, 6},    {40, 3, 2},    {119, 2, 1},
                        {120, 2, 0}, {255, 255, 0}, {1, 255, 119}, {0, 5, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "C = " << c.channels << ", N = " << c.samples);
    const std::vector<unsigned char> sector = MakeSector({15, 1, 5, 8, 0, 0}, 10, c.channels, c.samples);
    Decoded d;
    d.Add(sector);
    ASSERT_EQ(d.samples.size(), c.decoded);
    for (size_t s = 0; s < c.decoded; ++s) {
      for (int ch = 0; ch < kChannelCount; ++ch) {
        float stored = 0.0f;
        if (ch < c.channels) std::memcpy(&stored, &sector[36 + 4 * (s * static_cast<size_t>(c.channels) + ch)], 4);
        EXPECT_EQ(d.samples[s].values[ch], stored) << "sample " << s << " channel " << ch;
      }
    }
  }
}

// The buffer holds the counts it is given to what a sector and its shift mask
// hold, whoever hands them in.
TEST(SampleBufferSectors, CountsBeyondASectorAreCut) {
  struct Case {
    uint8_t stride, channels;
    uint16_t count;
    size_t kept;
    int channelsRead;
  };
  const Case cases[] = {
      {0, 0, 300, 255, 0}, {18, 18, 20, 6, 18}, {18, 30, 6, 6, 18}, {4, 9, 2, 2, 4}, {1, 1, 119, 119, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "stride " << int{c.stride} << ", channels " << int{c.channels} << ", count "
                                      << c.count);
    const std::vector<unsigned char> sector =
        MakeSector({15, 1, 5, 8, 0, 0}, 0, c.stride, c.stride ? 119 / c.stride : 0);
    SectorSamples samples;
    samples.start = At(2015, 1, 5, 8, 0, 0);
    samples.stride = c.stride;
    samples.channels = c.channels;
    samples.count = c.count;
    samples.shifted[kShiftWords - 1] = ~uint64_t{0};
    SampleBuffer buffer;
    buffer.AppendSector(sector.data(), samples);
    ASSERT_EQ(buffer.size(), c.kept);
    const Sample last = buffer.back();
    const size_t s = c.kept - 1;
    EXPECT_EQ(last.time.ticks, At(2015, 1, 5, 8, 0, s >= 64 * (kShiftWords - 1) ? 1 : 0).ticks);
    for (int ch = 0; ch < kChannelCount; ++ch)
      EXPECT_EQ(last.values[ch], ch < c.channelsRead ? Marked(ch, s) : 0.0f) << "channel " << ch;
  }
}

}  // namespace
}  // namespace tessaly::record
