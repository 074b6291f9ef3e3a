#include <cstring>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/texts.h"
#include "core/realtime_fake_page.h"
#include "instrument.h"
#include "instrument_server.h"
#include "realtime/acquisition.h"
#include "realtime/data_file.h"
#include "recorder/recorder_data.h"
#include "support/platform.h"
#include "support/temp_dir.h"

namespace tessaly::realtime {
namespace {

using sim::Instrument;
using sim::InstrumentOptions;
using sim::InstrumentServer;
using tessaly::testing::ReadFileBytes;
using tessaly::testing::TempDir;

class AcquisitionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!tessaly::testing::HasPseudoTerminals())
      GTEST_SKIP() << "Windows has no pseudo-terminals (the COM port test covers the line)";
  }

  // Starts the simulated recorder and returns settings that reach it.
  AcquisitionSettings Connect(const InstrumentOptions& options = {}) {
    server = std::make_unique<InstrumentServer>(options);
    std::string error;
    EXPECT_TRUE(server->Open(error)) << error;
    server->Start();
    AcquisitionSettings s;
    s.devicePath = server->DevicePath();
    s.pollIntervalMs = 0;
    for (int i = 0; i < kRecordChannels; ++i) s.colors[i] = 0x010101u * static_cast<uint32_t>(i + 1);
    return s;
  }

  // Runs the worker until the end of cycle `cycles` (the whole run when 0).
  void Run(const AcquisitionSettings& s, int cycles) {
    page.onCycle = [this, cycles](int cycle) {
      if (cycle == cycles) acquisition.Stop();
    };
    ASSERT_TRUE(acquisition.Start(s));
    acquisition.Join();
    EXPECT_EQ(acquisition.running.load(), 0);
    EXPECT_EQ(acquisition.idle.load(), 1);
  }

  // Records standing for an earlier part of the run: record n holds n.
  void Prefill(size_t count) {
    for (size_t n = 0; n < count; ++n) {
      RealtimeRecord r{};
      r.time = static_cast<double>(n);
      r.values[0] = static_cast<float>(n);
      acquisition.records.Append(r);
    }
  }

  TempDir dir;
  FakePage page;
  Acquisition acquisition{page};
  std::unique_ptr<InstrumentServer> server;
};

TEST_F(AcquisitionTest, RecordsAndPointsCarryTheInstrumentsValues) {
  struct Case {
    int channelCount, seriesDrawn;
  };
  for (const Case& c : {Case{4, 4}, Case{25, 18}}) {
    page = FakePage{};
    page.autoFollow = true;
    acquisition.records.Clear();
    acquisition.channelCount = c.channelCount;
    Run(Connect(), 5);
    EXPECT_EQ(acquisition.LastEnd(), AcquisitionEnd::Stopped);
    const auto records = acquisition.records.Snapshot();
    ASSERT_EQ(records.size(), 5u);
    for (size_t k = 0; k < records.size(); ++k) {
      EXPECT_EQ(records[k].timeStatus, 0);
      for (int i = 0; i < kRecordChannels; ++i) {
        const float expected = i < c.seriesDrawn ? Instrument::ChannelValue(i, k) : 0.0f;
        EXPECT_EQ(records[k].values[i], expected) << "record " << k << " channel " << i;
        ASSERT_EQ(page.points[i].size(), i < c.seriesDrawn ? 5u : 0u) << i;
        if (i < c.seriesDrawn) {
          EXPECT_EQ(page.points[i][k].value, expected);
          EXPECT_EQ(page.points[i][k].color, 0x010101u * static_cast<uint32_t>(i + 1));
          EXPECT_EQ(page.points[i][k].label, PointLabel(RecordFields(records[k])));
        }
      }
    }
    EXPECT_EQ(page.currentPage, page.PageCount()) << "auto-follow shows the last page";
    ASSERT_GE(page.log.size(), 4u);
    EXPECT_EQ(page.log[0], "发送：01 03 40 00 00 02 d1 cb ");
    EXPECT_EQ(page.log[2].rfind("发送：01 04 00 00 00 ", 0), 0u);
    EXPECT_TRUE(page.messages.empty());
  }
}

TEST_F(AcquisitionTest, RotatesAtExactlyTwelveThousandFiveHundredRecords) {
  AcquisitionSettings s = Connect();
  s.language = base::kEnglish;
  s.deviceAddress = 1;
  acquisition.channelCount = 2;
  page.savePath = dir.File("first.DT");
  page.receiveFolder = dir.path().string() + "/";
  Prefill(kRotationRecords - 3);
  Run(s, 4);

  const std::string file = ReadFileBytes(dir.File("first.DT"));
  ASSERT_EQ(file.size(), 1'050'000u);
  std::vector<RealtimeRecord> rotated(kRotationRecords);
  std::memcpy(rotated.data(), file.data(), file.size());
  EXPECT_EQ(rotated[kRotationRecords - 4].values[0], static_cast<float>(kRotationRecords - 4));
  for (int k = 0; k < 3; ++k)
    EXPECT_EQ(rotated[kRotationRecords - 3 + k].values[1], Instrument::ChannelValue(1, k)) << k;

  const auto left = acquisition.records.Snapshot();
  ASSERT_EQ(left.size(), 1u) << "the store starts again after the rotation";
  EXPECT_EQ(left[0].values[1], Instrument::ChannelValue(1, 3));
  EXPECT_EQ(page.clears[0], 1);
  EXPECT_EQ(page.clears[2], 0) << "only the polled series are cleared";
  EXPECT_EQ(page.points[0].size(), 1u);

  const std::filesystem::path next(page.savePath);
  EXPECT_EQ(next.parent_path(), dir.path() / "Device001");
  EXPECT_TRUE(std::filesystem::is_directory(next.parent_path()));
  EXPECT_TRUE(HasDataExtension(page.savePath));
  EXPECT_EQ(next.filename().string().size(), std::string("2015_01_05_08_09_10.DT").size());
  EXPECT_TRUE(page.messages.empty());
}

TEST_F(AcquisitionTest, AFailedRotationEndsTheWorkerAndKeepsTheStore) {
  struct Case {
    const char* savePath;
    int language;
    const char* message;
  };
  for (const Case& c :
       {Case{"first.dt", base::kChinese, "数据文件格式错误"}, Case{"first.dt", base::kEnglish, "Open File Error"},
        Case{"no-such-folder/first.DT", base::kChinese, "Open Save File Error"}}) {
    page = FakePage{};
    acquisition.records.Clear();
    AcquisitionSettings s = Connect();
    s.language = c.language;
    page.savePath = dir.File(c.savePath);
    Prefill(kRotationRecords - 1);
    Run(s, 0);
    EXPECT_EQ(acquisition.LastEnd(), AcquisitionEnd::RotationFailed);
    EXPECT_EQ(acquisition.records.Size(), kRotationRecords);
    EXPECT_EQ(page.cycles, 1);
    EXPECT_EQ(page.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(page.savePath, dir.File(c.savePath));
    EXPECT_FALSE(std::filesystem::exists(page.savePath));
  }
}

TEST_F(AcquisitionTest, PortAndSyncFailuresEndTheWorkerWithTheirMessage) {
  struct Case {
    const char* name;
    bool reachable;
    InstrumentOptions options;
    int language;
    const char* message;
    AcquisitionEnd end;
  };
  InstrumentOptions corrupt;
  corrupt.corruptRate = 1;
  InstrumentOptions silent;
  silent.dropRate = 1;
  const std::vector<Case> cases = {
      {"no port", false, {}, base::kChinese, "串口初始化失败", AcquisitionEnd::PortFailed},
      {"no port, English", false, {}, base::kEnglish, "Port initialize failure", AcquisitionEnd::PortFailed},
      {"bad answer", true, corrupt, base::kChinese, "同步失败", AcquisitionEnd::SyncFailed},
      {"no answer", true, silent, base::kEnglish, "sync failure", AcquisitionEnd::SyncFailed},
  };
  for (const Case& c : cases) {
    page = FakePage{};
    AcquisitionSettings s = Connect(c.options);
    if (!c.reachable) s.devicePath = dir.File("no-such-port");
    s.language = c.language;
    Run(s, 0);
    EXPECT_EQ(acquisition.LastEnd(), c.end) << c.name;
    EXPECT_EQ(page.messages, std::vector<std::string>{c.message}) << c.name;
    EXPECT_EQ(page.cycles, 0) << c.name;
    EXPECT_EQ(acquisition.records.Size(), 0u) << c.name;
  }
}

TEST_F(AcquisitionTest, StopWaitsOutThePauseWhileInterruptCutsItShort) {
  AcquisitionSettings s = Connect();
  s.pollIntervalMs = 3'600'000;
  std::promise<void> firstCycle;
  page.onCycle = [&](int cycle) {
    if (cycle == 1) {
      acquisition.Stop();
      firstCycle.set_value();
    }
  };
  ASSERT_TRUE(acquisition.Start(s));
  firstCycle.get_future().wait();
  EXPECT_FALSE(acquisition.Start(s)) << "the worker is still in its pause";
  EXPECT_EQ(page.messages, std::vector<std::string>{"系统忙，请稍后再试"});
  acquisition.Interrupt();
  acquisition.Join();
  EXPECT_EQ(acquisition.idle.load(), 1);
  EXPECT_EQ(acquisition.records.Size(), 1u);
}

TEST(AcquisitionSettingsFrom, MapsTheSerialIndicesWithSafeDefaults) {
  struct Case {
    int baudIndex, parityIndex, baud, parity;
  };
  recorder::CRecorderData data;
  data.comPort = 3;
  data.deviceAddress = 42;
  data.pollIntervalMs = 2500;
  data.language = 1;
  data.channels[5].color = 0x123456;
  for (const Case& c :
       {Case{0, 0, 2400, 0}, Case{4, 1, 38400, 1}, Case{2, 2, 9600, 2}, Case{5, 3, 9600, 0}, Case{-1, -1, 9600, 0}}) {
    data.baudIndex = c.baudIndex;
    data.parityIndex = c.parityIndex;
    const AcquisitionSettings s = AcquisitionSettings::From(data);
    EXPECT_EQ(s.baudRate, c.baud) << c.baudIndex;
    EXPECT_EQ(s.parity, c.parity) << c.parityIndex;
    EXPECT_EQ(s.comPort, 3);
    EXPECT_EQ(s.deviceAddress, 42);
    EXPECT_EQ(s.pollIntervalMs, 2500);
    EXPECT_EQ(s.language, 1);
    EXPECT_EQ(s.colors[5], 0x123456u);
    EXPECT_TRUE(s.devicePath.empty());
  }
}

}  // namespace
}  // namespace tessaly::realtime
