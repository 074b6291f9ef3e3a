#include <cmath>
#include <filesystem>
#include <numbers>

#include <gtest/gtest.h>

#include "base/texts.h"
#include "record/record_file.h"
#include "record/record_header.h"
#include "record/sector.h"
#include "record/sector_range.h"
#include "settings/channel_info.h"
#include "support/platform.h"
#include "support/temp_dir.h"
#include "tools.h"

namespace tessaly::testing {
namespace {

using record::RecordTime;

class SimTest : public ::testing::Test {
 protected:
  // Runs `tessaly-sim record -o FILE options...`, opens FILE and reads its header.
  void Record(std::vector<std::string> options) {
    options.insert(options.begin(), {"record", "-o", path_});
    const ProcessResult sim = Sim(options);
    ASSERT_EQ(sim.exitCode, 0) << sim.err;
    ASSERT_TRUE(file_.Open(path_));
    headerSectors_ = record::ReadRecordHeader(file_, data_, base::kEnglish);
  }

  std::vector<unsigned char> Sector(uint32_t absolute) {
    std::vector<unsigned char> bytes(record::kSectorSize);
    EXPECT_TRUE(file_.ReadSector(absolute, bytes.data()));
    return bytes;
  }

  TempDir dir_;
  std::string path_ = dir_.File("sim.D01");
  record::RecordFile file_;
  settings::DisplaySettings data_{};
  uint32_t headerSectors_ = 0;
};

TEST_F(SimTest, OptionsShapeTheFile) {
  Record({"--header-sectors", "3",
          "--device",         "设备A",
          "--name",           "1=温度1",
          "--unit",           "1=℃",
          "--name",           "18=ABCDEFGHIJKLMNOP",
          "--channels",       "5",
          "--samples",        "20",
          "--interval",       "3",
          "--decimals",       "2",
          "--decimals",       "5=15",
          "--start",          "2016-02-29 23:59:50",
          "--sectors",        "12",
          "--wave",           "sine:10,40,5,0.5",
          "--wave",           "2=ramp:-3,0.25",
          "--wave",           "3=square:1,2,10",
          "--wave",           "4=constant:-7.5",
          "--fault",          "1=bad-crc",
          "--fault",          "2=not-calendar",
          "--fault",          "3=month-zero",
          "--fault",          "4=year-150",
          "--fault",          "5=overlap",
          "--marker",         "6:2:3=high",
          "--marker",         "7:4=low"});
  EXPECT_EQ(headerSectors_, 3u);
  EXPECT_EQ(file_.SectorCount(), 15u);
  EXPECT_EQ(settings::DeviceName(data_), "设备A");
  EXPECT_EQ(settings::ChannelName(data_.channels[0]), "温度1");
  EXPECT_EQ(settings::ChannelUnit(data_.channels[0]), "℃");
  EXPECT_EQ(settings::ChannelName(data_.channels[17]), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(settings::ChannelName(data_.channels[1]), "");

  const std::vector<unsigned char> first = Sector(3);
  EXPECT_EQ(first[9], 5);
  EXPECT_EQ(first[10], 20);
  EXPECT_EQ(first[7] | first[8] << 8, 3);
  EXPECT_EQ(first[20], 0x22);  // channels 1 and 2: two decimals
  EXPECT_EQ(first[22], 0x2F);  // channel 5: fifteen, channel 6 two like the rest
  RecordTime start;
  ASSERT_TRUE(record::SectorCalendarValid(first.data(), &start));
  EXPECT_EQ(start.ticks, RecordTime::FromCalendar(2016, 2, 29, 23, 59, 50).ticks);

  EXPECT_FALSE(record::SectorCrcOk(Sector(4).data()));
  EXPECT_EQ(Sector(5)[3], 30);
  EXPECT_TRUE(record::SectorDecodable(Sector(5).data()));
  EXPECT_EQ(Sector(6)[1], 0);
  EXPECT_TRUE(record::SectorCalendarValid(Sector(7).data()));
  EXPECT_FALSE(record::SectorDecodable(Sector(7).data()));
  // Sector 5 would start 5 x 20 x 0.3 s = 30 s after the first; overlap stamps it a second earlier.
  ASSERT_TRUE(record::SectorCalendarValid(Sector(8).data(), &start));
  EXPECT_EQ(start.ticks, RecordTime::FromCalendar(2016, 3, 1, 0, 0, 19).ticks);

  record::SampleBuffer samples;
  record::DecodeSectorRange(file_, 3, 12, samples);
  ASSERT_EQ(samples.size(), 10u * 20u);  // sectors 1 and 4 are not decodable
  // Samples of sector 0 are file samples 0 to 19.
  for (int n = 0; n < 20; ++n) {
    SCOPED_TRACE(n);
    EXPECT_FLOAT_EQ(samples[n].values[0], static_cast<float>(5 + 10 * std::sin(2 * std::numbers::pi * n / 40 + 0.5)));
    EXPECT_EQ(samples[n].values[1], -3.0f + 0.25f * static_cast<float>(n));
    EXPECT_EQ(samples[n].values[2], n % 10 < 5 ? 1.0f : 2.0f);
    EXPECT_EQ(samples[n].values[3], -7.5f);
    EXPECT_EQ(samples[n].values[5], 0.0f);  // beyond C
    EXPECT_EQ(samples[n].decimals[4], 15);
  }
  // Markers: decoded sector 6 is buffer sector 4 (sectors 1 and 4 skipped).
  EXPECT_EQ(samples[4 * 20 + 2].values[2], 45000.0f);
  EXPECT_NE(samples[4 * 20 + 2].values[1], 45000.0f);
  for (int c = 0; c < 5; ++c) EXPECT_EQ(samples[5 * 20 + 4].values[c], -19999.0f);
}

TEST_F(SimTest, DemoFileHasNamedChannelsAndAFewPages) {
  Record({"--demo"});
  EXPECT_EQ(headerSectors_, 2u);
  EXPECT_EQ(file_.SectorCount() - headerSectors_, 3000u);  // pages of 1024, 1024 and 952
  EXPECT_EQ(settings::ChannelName(data_.channels[0]), "温度1");
  EXPECT_EQ(settings::ChannelUnit(data_.channels[0]), "℃");
  EXPECT_EQ(settings::ChannelName(data_.channels[8]), "");
  record::SampleBuffer samples;
  record::DecodeSectorRange(file_, 2, 3000, samples);
  ASSERT_EQ(samples.size(), 3000u * 14u);
  int high = 0;
  int low = 0;
  for (const record::Sample& s : samples) {
    for (int c = 0; c < 8; ++c) {
      high += s.values[c] == 45000.0f;
      low += s.values[c] == -19999.0f;
      EXPECT_GE(s.decimals[c], 1);
      EXPECT_LE(s.decimals[c], 2);
    }
    EXPECT_EQ(s.values[8], 0.0f);
  }
  EXPECT_EQ(high, 1);
  EXPECT_EQ(low, 1);
}

TEST_F(SimTest, BadArgumentsPrintUsageAndWriteNothing) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"play"},
      {"record"},
      {"record", "-o", path_, "--channels", "256"},
      {"record", "-o", path_, "--name", "19=x"},
      {"record", "-o", path_, "--name", "1=十七个字节的名字太长了"},
      {"record", "-o", path_, "--start", "2015-02-29 00:00:00"},
      {"record", "-o", path_, "--start", "1999-12-31 00:00:00"},
      {"record", "-o", path_, "--start", "2255-12-31 23:00:00", "--sectors", "1000"},  // past the year byte
      {"record", "-o", path_, "--wave", "sine:1"},
      {"record", "-o", path_, "--wave", "square:1,2,0"},
      {"record", "-o", path_, "--fault", "3-1=bad-crc"},
      {"record", "-o", path_, "--fault", "1=broken"},
      {"record", "-o", path_, "--marker", "1=high"},
      {"record", "-o", path_, "--decimals", "16"},
      {"record", "-o", path_, "extra"},
  };
  for (const std::vector<std::string>& args : cases) {
    std::string joined;
    for (const std::string& a : args) joined += a + " ";
    SCOPED_TRACE(joined);
    const ProcessResult r = Sim(args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err.rfind("tessaly-sim: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("\nusage: tessaly-sim record -o FILE"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(path_));
  }
  const ProcessResult unwritable = Sim({"record", "-o", dir_.File("no/dir.D01")});
  EXPECT_EQ(unwritable.exitCode, 1);
  EXPECT_EQ(unwritable.err, "tessaly-sim: failed to write " + dir_.File("no/dir.D01") + "\n");
}

// The instrument answers on a pseudo-terminal on POSIX and on a COM port on
// Windows; a line the platform cannot give is refused with the reason.
TEST_F(SimTest, InstrumentRefusesALineItCannotServe) {
  if (HasPseudoTerminals()) {
    const ProcessResult com = Sim({"instrument", "--com", "3"});
    EXPECT_EQ(com.exitCode, 2);
    EXPECT_EQ(com.err.rfind("tessaly-sim: --com exists on Windows only", 0), 0u) << com.err;
    return;
  }
  const ProcessResult noCom = Sim({"instrument"});
  EXPECT_EQ(noCom.exitCode, 1);
  EXPECT_EQ(noCom.err, "tessaly-sim: pseudo-terminals do not exist on Windows\n");
  const ProcessResult absent = Sim({"instrument", "--com", "200"});
  EXPECT_EQ(absent.exitCode, 1);
  EXPECT_EQ(absent.err.rfind("tessaly-sim: cannot open \\\\.\\COM200 (error ", 0), 0u) << absent.err;
  EXPECT_EQ(absent.out, "");
}

}  // namespace
}  // namespace tessaly::testing
