#include <future>
#include <mutex>

#include <gtest/gtest.h>

#include "record/page_index.h"
#include "record_writer.h"
#include "recorder/build_page_index.h"
#include "recorder/page_loader.h"
#include "support/record_fixture.h"

namespace tessaly::record {
namespace {

using namespace tessaly::recorder;

using sim::RecordSpec;
using sim::SectorFault;
using tessaly::testing::AppendToFile;
using tessaly::testing::RecordFixture;

// Records the loader's calls in order; optional hooks run inside them, on
// the loader thread.
class FakeHost : public LoaderHost {
 public:
  void ReportLoadProgress(uint32_t index) override {
    Record("progress " + std::to_string(index));
    if (onProgress) onProgress(index);
  }
  void FillList() override {
    Record("FillList");
    if (onFillList) onFillList();
  }
  void FillAllGraph() override { Record("FillAllGraph"); }
  void FillPartGraph() override { Record("FillPartGraph"); }

  std::vector<std::string> Calls() {
    std::lock_guard lock(mutex_);
    return calls_;
  }

  std::function<void(uint32_t)> onProgress;
  std::function<void()> onFillList;

 private:
  void Record(std::string call) {
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
  }
  std::mutex mutex_;
  std::vector<std::string> calls_;
};

std::vector<std::string> Expected(const std::vector<uint32_t>& progress) {
  std::vector<std::string> calls;
  for (uint32_t i : progress) calls.push_back("progress " + std::to_string(i));
  calls.insert(calls.end(), {"FillList", "FillAllGraph", "FillPartGraph"});
  return calls;
}

RecordSpec Spec(uint32_t sectors) {
  RecordSpec recordSpec;
  recordSpec.sectorCount = sectors;
  return recordSpec;
}

struct LoaderFixture : RecordFixture {
  FakeHost host;
  PageLoader loader{data, host};

  void Load(uint32_t first, uint32_t count) {
    ASSERT_TRUE(loader.StartPageLoad(first, count));
    loader.Join();
  }
};

TEST(PageLoader, ReportsTheFirstTheLastAndEveryThreeHundredthSector) {
  struct Case {
    uint32_t count;
    std::vector<uint32_t> progress;
  };
  const Case cases[] = {{1000, {0, 300, 600, 900, 999}}, {1, {0}}, {301, {0, 300}}, {2, {0, 1}}};
  LoaderFixture f;
  f.Write(Spec(1000));
  ASSERT_TRUE(BuildPageIndex(f.data));
  size_t calls = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count);
    f.Load(2, c.count);
    const std::vector<std::string> all = f.host.Calls();
    EXPECT_EQ(std::vector<std::string>(all.begin() + static_cast<long>(calls), all.end()), Expected(c.progress));
    calls = all.size();
    EXPECT_EQ(f.data.samples.size(), c.count * 6u);
    EXPECT_EQ(f.data.loadTotal, c.count);
    EXPECT_EQ(f.data.idle, 1);
    EXPECT_EQ(f.data.running, 0);
  }
}

TEST(PageLoader, SkipsBadSectorsAndThoseThatCannotBeReadWhole) {
  LoaderFixture f;
  RecordSpec recordSpec = Spec(10);
  recordSpec.faults = {{3, 3, SectorFault::BadCrc}, {9, 9, SectorFault::BadCrc}};
  const std::string path = f.Write(recordSpec);
  AppendToFile(path, std::string(200, '\0'));  // a part sector at the end
  ASSERT_TRUE(BuildPageIndex(f.data));

  f.Load(2, 10);  // the last sector is bad: the load still ends reporting it
  EXPECT_EQ(f.host.Calls(), Expected({0, 9}));
  EXPECT_EQ(f.data.samples.size(), 8 * 6u);

  // Beyond the end of the file, and the part sector, count as bad.
  f.Load(10, 5);
  EXPECT_EQ(f.data.samples.size(), 6u);
  EXPECT_EQ(f.data.loadFirst, 10u);
  EXPECT_EQ(f.data.loadCount, 5u);
}

TEST(PageLoader, ReadsAcrossBlocksInOrder) {
  LoaderFixture f;
  f.Write(Spec(710));
  ASSERT_TRUE(BuildPageIndex(f.data));
  f.Load(5, 700);  // several blocks of reads, not aligned to the file's
  ASSERT_EQ(f.data.samples.size(), 700 * 6u);
  // Each sector's samples follow on one second apart from data sector 3 on.
  const int64_t first = f.data.samples.front().time.ticks;
  for (size_t n = 0; n < f.data.samples.size(); ++n)
    ASSERT_EQ(f.data.samples[n].time.ticks - first, static_cast<int64_t>(n) * kTicksPerSecond) << n;
}

TEST(PageLoader, StopsAtTheBufferLimitAndEndsAtTheLastSectorMarkedCut) {
  LoaderFixture f;
  RecordSpec recordSpec = Spec(8404);  // 8404 x 119 samples just pass 1,000,000
  recordSpec.channels = 1;
  recordSpec.samplesPerSector = 119;
  recordSpec.interval = 1;
  f.Write(recordSpec);
  ASSERT_TRUE(BuildPageIndex(f.data));
  f.Load(2, 8404);
  EXPECT_EQ(f.data.samples.size(), kSampleBufferLimit);
  std::vector<uint32_t> progress;
  for (uint32_t i = 0; i <= 8400; i += 300) progress.push_back(i);
  progress.push_back(8403);  // the bar ends full although sector 8403 filled the buffer
  EXPECT_EQ(f.host.Calls(), Expected(progress));
  EXPECT_TRUE(f.data.loadCut);

  f.Load(2, 100);  // a load within the limit is not cut
  EXPECT_FALSE(f.data.loadCut);
}

TEST(PageLoader, StopsAtTheNextSectorWhenRunningIsCleared) {
  LoaderFixture f;
  f.Write(Spec(1000));
  ASSERT_TRUE(BuildPageIndex(f.data));
  f.host.onProgress = [&](uint32_t) { f.data.running = 0; };
  f.Load(2, 1000);
  EXPECT_EQ(f.host.Calls(), Expected({0}));
  EXPECT_EQ(f.data.samples.size(), 6u);
  EXPECT_EQ(f.data.idle, 1);
}

TEST(PageLoader, RefusesASecondLoadWhileOneRuns) {
  for (const int language : {0, 1}) {
    LoaderFixture f;
    f.data.language = language;
    f.Write(Spec(20));
    ASSERT_TRUE(BuildPageIndex(f.data));
    std::promise<void> entered, release;
    uint8_t idleInHandOff = 9, runningInHandOff = 9;
    f.host.onFillList = [&] {
      idleInHandOff = f.data.idle;
      runningInHandOff = f.data.running;
      entered.set_value();
      release.get_future().wait();
    };
    ASSERT_TRUE(f.loader.StartPageLoad(2, 20));
    EXPECT_EQ(f.data.idle, 0);  // taken before the thread runs
    entered.get_future().wait();

    EXPECT_FALSE(f.loader.StartPageLoad(2, 1));
    EXPECT_TRUE(RefuseWhileLoading(f.data));
    const char* busy = language == 0 ? "系统忙，请稍后再试" : "Server busy, please retry later";
    EXPECT_EQ(f.sink.said, (std::vector<std::string>{busy, busy}));
    EXPECT_EQ(f.data.samples.size(), 20 * 6u);
    EXPECT_EQ(f.data.loadCount, 20u);

    release.set_value();
    f.loader.Join();
    EXPECT_EQ(idleInHandOff, 0);
    EXPECT_EQ(runningInHandOff, 1);
    EXPECT_EQ(f.data.idle, 1);
    EXPECT_EQ(f.data.running, 0);
    EXPECT_FALSE(RefuseWhileLoading(f.data));
    EXPECT_EQ(f.host.Calls(), Expected({0, 19}));
  }
}

TEST(PageLoader, EmptiesTheBufferKeepingItsCapacity) {
  LoaderFixture f;
  f.Write(Spec(100));
  ASSERT_TRUE(BuildPageIndex(f.data));
  f.Load(2, 100);
  const size_t reserved = f.data.samples.ReservedBytes();
  f.Load(50, 1);
  EXPECT_EQ(f.data.samples.size(), 6u);
  EXPECT_EQ(f.data.samples.ReservedBytes(), reserved);
  EXPECT_EQ(f.data.samples.front().values[0], sim::DemoWave(0, 48 * 6));
}

}  // namespace
}  // namespace tessaly::record
