#include <csignal>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/format.h"
#include "base/gbk.h"
#include "instrument.h"
#include "realtime/data_file.h"
#include "support/platform.h"
#include "support/process.h"
#include "support/temp_dir.h"
#include "tools.h"

namespace tessaly::testing {
namespace {

using realtime::RealtimeRecord;
using sim::Instrument;

size_t CountLines(const std::string& text, const std::string& start) {
  size_t n = 0;
  for (size_t at = 0; at < text.size();) {
    const size_t end = std::min(text.find('\n', at), text.size());
    n += text.compare(at, start.size(), start) == 0;
    at = end + 1;
  }
  return n;
}

// The simulated recorder serves on a pseudo-terminal, which Windows lacks.
constexpr const char* kNoInstrument = "Windows has no pseudo-terminals for tessaly-sim instrument";

class AcquireTest : public ::testing::Test {
 protected:
  // Starts `tessaly-sim instrument options...` and returns its device path.
  std::string StartInstrument(std::vector<std::string> options = {}) {
    options.insert(options.begin(), {TESSALY_SIM_PATH, "instrument"});
    sim_ = std::make_unique<ChildProcess>(options);
    std::string path;
    EXPECT_TRUE(sim_->ReadLine(path));
    return path;
  }

  std::vector<std::string> Acquire(const std::string& device, std::vector<std::string> options) {
    options.insert(options.begin(), {TESSALY_CLI_PATH, "acquire", "--device", device, "--interval", "0", "--folder",
                                     dir_.path().string()});
    return options;
  }

  // Every .DT file written below the folder.
  std::vector<std::string> DataFiles() const {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_.path()))
      if (entry.is_regular_file() && realtime::HasDataExtension(entry.path().string()))
        files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
  }

  // The records of the one file the run wrote.
  std::vector<RealtimeRecord> Saved() const {
    const auto files = DataFiles();
    EXPECT_EQ(files.size(), 1u);
    if (files.empty()) return {};
    return realtime::ReadDataFile(files[0]).value_or(std::vector<RealtimeRecord>{});
  }

  TempDir dir_;
  std::unique_ptr<ChildProcess> sim_;
};

TEST_F(AcquireTest, AcquiresLogsAndSavesWhatTheCsvReadsBack) {
  if (!tessaly::testing::HasPseudoTerminals()) GTEST_SKIP() << kNoInstrument;
  const std::string device = StartInstrument({"--channels", "3"});
  const ProcessResult run = Cli({"acquire", "--device", device, "--interval", "0", "--count", "5", "--channels", "3",
                                 "--folder", dir_.path().string(), "--lang", "en"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out.rfind("Send：01 03 40 00 00 02 d1 cb \nreceive:01 03 04 ", 0), 0u) << run.out;
  EXPECT_EQ(CountLines(run.out, "Send：01 04 00 00 00 06 "), 5u);
  EXPECT_EQ(CountLines(run.out, "receive:01 04 0c "), 5u);

  const auto files = DataFiles();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(std::filesystem::path(files[0]).parent_path(), dir_.path() / "设备001") << "Start's folder";
  const auto records = Saved();
  ASSERT_EQ(records.size(), 5u);
  for (size_t k = 0; k < records.size(); ++k)
    for (int c = 0; c < realtime::kRecordChannels; ++c)
      EXPECT_EQ(records[k].values[c], c < 3 ? Instrument::ChannelValue(c, k) : 0.0f) << k << " " << c;

  const ProcessResult csv = Cli({"dt2csv", files[0]});
  ASSERT_EQ(csv.exitCode, 0) << csv.err;
  const std::string text = ReadFileBytes(files[0].substr(0, files[0].size() - 3) + ".csv");
  EXPECT_EQ(text.rfind(base::Utf8ToGbk("序号,时间,Channel01,Channel02,"), 0), 0u);
  EXPECT_EQ(CountLines(text, ""), 6u);
  EXPECT_EQ(CountLines(text, "4," + realtime::PointLabel(realtime::RecordFields(records[4])).substr(0, 10)), 1u);
  EXPECT_NE(
      text.find(base::Format(",%f,%f,%f,0.000000,", records[4].values[0], records[4].values[1], records[4].values[2]) +
                std::string("0.000000")),
      std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(text.begin(), text.end(), '\r'));
}

TEST_F(AcquireTest, PortAndSyncFailuresExitWithTheWorkersMessage) {
  if (!tessaly::testing::HasPseudoTerminals()) GTEST_SKIP() << kNoInstrument;
  struct Case {
    bool instrument;
    const char* language;
    const char* message;
  };
  for (const Case& c : {Case{false, "zh", "串口初始化失败"}, Case{true, "en", "sync failure"}}) {
    const std::string device = c.instrument ? StartInstrument({"--exception", "1"}) : dir_.File("no-such-port");
    const ProcessResult run = RunProcess(Acquire(device, {"--count", "3", "--lang", c.language}));
    EXPECT_EQ(run.exitCode, 1) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_TRUE(DataFiles().empty()) << c.message;
  }
}

TEST_F(AcquireTest, AnInterruptStopsTheRunAndSavesTheStore) {
  if (!tessaly::testing::HasPseudoTerminals()) GTEST_SKIP() << kNoInstrument;
  ChildProcess run(Acquire(StartInstrument(), {"--lang", "en"}));
  std::string line;
  size_t answers = 0;
  while (answers < 4 && run.ReadLine(line)) answers += line.rfind("receive:", 0) == 0;
  ASSERT_EQ(answers, 4u);
  run.Signal(SIGINT);
  const ProcessResult end = run.Finish();
  ASSERT_EQ(end.exitCode, 0) << end.err;
  // The sync answer, then one answer per record.
  EXPECT_EQ(Saved().size(), answers - 1 + CountLines(end.out, "receive:"));
}

TEST_F(AcquireTest, FaultyAnswersKeepTheValuesReadLast) {
  if (!tessaly::testing::HasPseudoTerminals()) GTEST_SKIP() << kNoInstrument;
  struct Case {
    std::vector<std::string> faults;
    const char* count;
  };
  for (const Case& c : {Case{{"--corrupt", "0.3", "--seed", "5"}, "20"}, Case{{"--exit-after", "4"}, "4"}}) {
    std::filesystem::remove_all(dir_.path() / "设备001");
    const ProcessResult run = RunProcess(Acquire(StartInstrument(c.faults), {"--count", c.count, "--lang", "en"}));
    ASSERT_EQ(run.exitCode, 0) << c.faults[0] << ": " << run.err;
    const auto records = Saved();
    ASSERT_EQ(records.size(), static_cast<size_t>(std::stoi(c.count))) << c.faults[0];
    size_t stale = 0;
    for (size_t k = 0; k < records.size(); ++k) {
      if (records[k].values[17] == Instrument::ChannelValue(17, k)) continue;
      ++stale;
      const RealtimeRecord previous = k > 0 ? records[k - 1] : RealtimeRecord{};
      EXPECT_EQ(std::memcmp(records[k].values, previous.values, sizeof previous.values), 0) << c.faults[0] << " " << k;
    }
    EXPECT_GT(stale, 0u) << c.faults[0];
    EXPECT_EQ(stale, CountLines(run.out, "ECC Error") + CountLines(run.out, "TimeOut can't receive information"))
        << c.faults[0];
  }
}

// One fault on the line costs at most the record of its own poll: every
// other record carries the values of its own poll (the instrument's values
// change with every request), the log names each failed exchange, and no
// record is lost.
TEST_F(AcquireTest, AcquisitionStaysInStepAfterALineFault) {
  if (!tessaly::testing::HasPseudoTerminals()) GTEST_SKIP() << kNoInstrument;
  struct Case {
    std::vector<std::string> fault;
    const char* interval;  // the late answer must land before the next request
    size_t failures;       // SIZE_MAX: as many as the seed gives, at least one
  };
  const Case cases[] = {
      {{"--late-once", "4"}, "3", 1},
      {{"--stray-bytes", "3:10"}, "0", 0},
      {{"--burst", "4:30"}, "0", 1},
      {{"--byte-count-zero", "0.4", "--seed", "3"}, "0", SIZE_MAX},
  };
  constexpr size_t kRecords = 5;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault[0] + " " + c.fault[1]);
    std::filesystem::remove_all(dir_.path() / "设备001");
    std::vector<std::string> options = c.fault;
    options.insert(options.end(), {"--channels", "3"});
    const std::string device = StartInstrument(options);
    const ProcessResult run =
        Cli({"acquire", "--device", device, "--interval", c.interval, "--count", std::to_string(kRecords), "--channels",
             "3", "--folder", dir_.path().string(), "--lang", "en"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto records = Saved();
    ASSERT_EQ(records.size(), kRecords);
    size_t stale = 0;
    for (size_t k = 0; k < records.size(); ++k) {
      bool own = true;
      for (int ch = 0; ch < 3; ++ch) own = own && records[k].values[ch] == Instrument::ChannelValue(ch, k);
      if (own) continue;
      ++stale;
      const RealtimeRecord previous = k > 0 ? records[k - 1] : RealtimeRecord{};
      EXPECT_EQ(std::memcmp(records[k].values, previous.values, sizeof previous.values), 0) << "record " << k;
    }
    const size_t failed = CountLines(run.out, "ECC Error") + CountLines(run.out, "TimeOut can't receive information");
    EXPECT_EQ(stale, failed) << run.out;
    if (c.failures == SIZE_MAX) {
      EXPECT_GT(failed, 0u);
    } else {
      EXPECT_EQ(failed, c.failures) << run.out;
    }
  }
}

// A run that could not save is refused before its port is opened, and an
// empty device name is no port at all.
TEST_F(AcquireTest, RunsThatCannotWorkAreRefusedBeforePolling) {
  const std::string blocker = dir_.File("a-file");
  WriteFileBytes(blocker, "x");
  const ProcessResult folder = Cli(
      {"acquire", "--device", dir_.File("no-such-port"), "--folder", blocker + "/sub", "--count", "1", "--lang", "en"});
  EXPECT_EQ(folder.exitCode, 1);
  EXPECT_EQ(folder.err, "tessaly-cli: the folder cannot hold data files: " + blocker + "/sub/\n");
  const ProcessResult empty = Cli({"acquire", "--device", "", "--folder", dir_.path().string(), "--lang", "en"});
  EXPECT_EQ(empty.exitCode, 2);
  EXPECT_EQ(empty.err, "tessaly-cli: invalid value: --device ''\n");
}

}  // namespace
}  // namespace tessaly::testing
