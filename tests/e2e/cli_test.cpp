#include <filesystem>

#include <gtest/gtest.h>

#include "base/fs_path.h"
#include "support/platform.h"
#include "support/temp_dir.h"
#include "tools.h"

namespace tessaly::testing {
namespace {

namespace fs = std::filesystem;

class CliTest : public ::testing::Test {
 protected:
  // Writes a record file with tessaly-sim.
  std::string Record(const std::string& name, std::vector<std::string> options) {
    const std::string path = dir_.File(name);
    options.insert(options.begin(), {"record", "-o", path});
    const ProcessResult sim = Sim(options);
    EXPECT_EQ(sim.exitCode, 0) << sim.err;
    return path;
  }

  TempDir dir_;
};

TEST_F(CliTest, CsvMatchesTheExpectedFileInBothLanguages) {
  const std::string record = Record("small.D01", kSmallRecord);
  const ProcessResult en = Cli({"csv", record, "--first", "2", "--count", "3", "--interval", "2"});
  EXPECT_EQ(en.exitCode, 0) << en.err;
  EXPECT_EQ(en.out, ReadFileBytes(TestData("viewer_small_en.csv")));
  EXPECT_EQ(en.err, "");

  const std::string out = dir_.File("zh.csv");
  const ProcessResult zh =
      Cli({"csv", record, "--lang", "zh", "--first", "2", "--count", "3", "--interval", "2", "-o", out});
  EXPECT_EQ(zh.exitCode, 0) << zh.err;
  EXPECT_EQ(zh.out, "");
  EXPECT_EQ(ReadFileBytes(out), ReadFileBytes(TestData("viewer_small_zh.csv")));
}

TEST_F(CliTest, CsvDecodesLikeALoad) {
  // Sectors 0 and 1 are the header: skipped as undecodable, like bad sectors.
  const std::string record = Record("r.D01", {"--sectors", "40", "--fault", "5-30=bad-crc"});
  const ProcessResult all = Cli({"csv", record, "--first", "0", "--count", "42"});
  ASSERT_EQ(all.exitCode, 0) << all.err;
  // Heading plus 14 sectors of 6 samples, indexes running on over the gap.
  EXPECT_EQ(std::count(all.out.begin(), all.out.end(), '\n'), 1 + 14 * 6);
  EXPECT_NE(all.out.find("\r\n83,"), std::string::npos);

  const ProcessResult none = Cli({"csv", record, "--first", "7", "--count", "24"});
  EXPECT_NE(none.exitCode, 0);
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(none.err, "tessaly-cli: no decodable sector in the range\n");
}

TEST_F(CliTest, InfoOfAGoodFile) {
  const std::string record = Record("small.D01", kSmallRecord);
  const ProcessResult info = Cli({"info", record, "--json"});
  ASSERT_EQ(info.exitCode, 0) << info.err;
  const std::string& j = info.out;
  EXPECT_NE(j.find("\"headerSectors\": 2,"), std::string::npos) << j;
  EXPECT_NE(j.find("\"dataSectors\": 3,"), std::string::npos) << j;
  EXPECT_NE(j.find("\"deviceName\": \"小记录仪\","), std::string::npos) << j;
  EXPECT_NE(j.find("{\"name\": \"温度1\", \"unit\": \"℃\"},\n    {\"name\": \"Pressure\", \"unit\": \"kPa\"},\n"
                   "    {\"name\": \"\", \"unit\": \"\"}"),
            std::string::npos)
      << j;
  EXPECT_EQ(std::count(j.begin(), j.end(), '{'), 1 + 18 + 1);  // the whole, the channels, the one file
  EXPECT_NE(j.find("\"firstValidSector\": 2,"), std::string::npos) << j;
  EXPECT_NE(j.find("\"channelCount\": 3\n}"), std::string::npos) << j;
}

TEST_F(CliTest, InfoOfDamagedFiles) {
  struct Case {
    const char* what;
    std::vector<std::string> options;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"first header CRC wrong",
       {"--header-fault", "first-crc", "--name", "1=A"},
       {"\"headerSectors\": 0,", "\"dataSectors\": 102,", "\"deviceName\": \"\",",
        "{\"name\": \"Channel01\", \"unit\": \"\"}", "{\"name\": \"Channel18\", \"unit\": \"\"}",
        "\"firstValidSector\": 2,", "\"channelCount\": 4\n"}},
      {"block CRC wrong, in Chinese",
       {"--header-fault", "block-crc"},
       {"\"headerSectors\": 0,", "{\"name\": \"通道01\", \"unit\": \"\"}", "\"firstValidSector\": 2,"}},
      {"no header, data from sector 0",
       {"--no-header", "--channels", "18", "--fault", "0=year-150"},
       {"\"headerSectors\": 0,", "\"dataSectors\": 100,", "\"firstValidSector\": 0,", "\"channelCount\": 18\n"}},
      {"no calendar-valid sector among the first 50",
       {"--sectors", "60", "--fault", "0-9=bad-crc", "--fault", "10-29=month-zero", "--fault", "30-49=not-calendar"},
       {"\"headerSectors\": 2,", "\"firstValidSector\": null,", "\"channelCount\": null\n"}},
      {"empty file",
       {"--no-header", "--sectors", "0"},
       {"\"headerSectors\": 0,", "\"dataSectors\": 0,", "\"firstValidSector\": null,"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string record = Record("damaged.D01", c.options);
    const bool zh = std::string(c.what).find("Chinese") != std::string::npos;
    const ProcessResult info = Cli({"info", record, "--json", "--lang", zh ? "zh" : "en"});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    for (const std::string& part : c.expected)
      EXPECT_NE(info.out.find(part), std::string::npos) << part << "\n" << info.out;
  }
}

TEST_F(CliTest, BadInputFailsWithOneLineAndNoFile) {
  const std::string record = Record("r.D01", {"--sectors", "10"});
  const std::string out = dir_.File("out.csv");
  const std::string emptyFolder = dir_.File("empty");
  fs::create_directory(emptyFolder);
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string message;
  };
  const Case cases[] = {
      {{}, 2, "missing command (commands: info, pages, csv, xlsx, search, stats, print, acquire, dt2csv)"},
      {{"nonsense"},
       2,
       "unknown command: nonsense (commands: info, pages, csv, xlsx, search, stats, print, acquire, dt2csv)"},
      {{"info", record}, 2, "missing option: --json"},
      {{"info", "--json"}, 2, "missing file name"},
      {{"dt2csv", record, record}, 2, "unexpected argument: " + record},
      {{"info", dir_.File("missing.D01"), "--json"}, 1, "Failed to open file: " + dir_.File("missing.D01")},
      {{"info", emptyFolder, "--json"}, 1, emptyFolder + ": no record files"},
      {{"csv", record, "--count", "1", "-o", out}, 2, "missing option: --first"},
      {{"csv", record, "--first", "2", "-o", out}, 2, "missing option: --count"},
      {{"csv", record, "--first", "x", "--count", "1", "-o", out}, 2, "invalid value: --first x"},
      {{"csv", record, "--first", "2", "--count", "0", "-o", out}, 2, "invalid value: --count 0"},
      {{"csv", record, "--first", "2", "--count", "1", "--interval", "0", "-o", out}, 2, "invalid value: --interval 0"},
      {{"csv", record, "--first", "2", "--count", "1", "--lang", "fr", "-o", out}, 2, "invalid value: --lang fr"},
      {{"csv", record, "--first", "2", "--count", "1", "--frist", "-o", out},
       2,
       "unknown option: --frist (see 'tessaly-cli csv --help')"},
      {{"csv", record, "--first", "2", "--count", "1", "-o"}, 2, "option needs a value: -o"},
      {{"csv", record, "--first", "2", "--count", "11", "-o", out},
       1,
       "sectors 2 to 12 lie beyond the file (12 sectors)"},
      {{"csv", record, "--first", "4294967295", "--count", "4294967295", "-o", out},
       1,
       "sectors 4294967295 to 8589934589 lie beyond the file (12 sectors)"},
      {{"csv", dir_.File("missing.D01"), "--first", "0", "--count", "1", "-o", out},
       1,
       "Failed to open file: " + dir_.File("missing.D01")},
      {{"csv", record, "--first", "2", "--count", "1", "-o", dir_.File("no/such/dir.csv")},
       1,
       "Failed to open file: " + dir_.File("no/such/dir.csv")},
      {{"csv", record, "--first", "2", "--count", "1", "--lang", "zh", "--frist"},
       2,
       "未知选项：--frist（参见 'tessaly-cli csv --help'）"},
  };
  for (const Case& c : cases) {
    std::string joined;
    for (const std::string& a : c.args) joined += a + " ";
    SCOPED_TRACE(joined);
    const ProcessResult r = Cli(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode);
    EXPECT_EQ(r.err, "tessaly-cli: " + c.message + "\n");
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(fs::exists(out));
  }
}

// Record and data files are regular files: a FIFO, a device or a folder is
// refused at once instead of blocking the open or reading without end. A
// folder named as record files stands for its record files, and a FIFO with
// a record file's name is none of them.
TEST_F(CliTest, OnlyRegularFilesAreOpened) {
  const std::string fifo = dir_.File("pipe.DT");
  ASSERT_TRUE(tessaly::testing::MakeNonRegularFile(fifo));
  ASSERT_TRUE(tessaly::testing::MakeNonRegularFile(dir_.File("pipe.D01")));
  const std::string folder = dir_.path().string();
  for (const std::string& path : {fifo, std::string("/dev/zero"), folder}) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"dt2csv", path, "-o", dir_.File("o.csv")},
                                                 std::vector<std::string>{"info", path, "--json"}}) {
      SCOPED_TRACE(args[0] + " " + path);
      const ProcessResult r = Cli(args);
      EXPECT_EQ(r.exitCode, 1);
      // Windows has no FIFOs: its stand-in is a folder, which stands for record files too.
      const bool recordFolder = fs::is_directory(base::FsPath(path)) && args[0] == "info";
      EXPECT_EQ(r.err,
                "tessaly-cli: " + (recordFolder ? path + ": no record files" : "Failed to open file: " + path) + "\n");
      EXPECT_FALSE(fs::exists(dir_.File("o.csv")));
    }
  }
}

TEST_F(CliTest, AFailedWriteLeavesThePreviousFile) {
  const std::string record = Record("r.D01", {"--sectors", "10"});
  const std::string out = dir_.File("out.csv");
  WriteFileBytes(out, "previous");
  fs::permissions(out, fs::perms::owner_read);
  const ProcessResult r = Cli({"csv", record, "--first", "2", "--count", "10", "-o", out});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "tessaly-cli: Failed to open file: " + out + "\n");
  EXPECT_EQ(ReadFileBytes(out), "previous");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), {}), 2);  // the record and the old file
}

}  // namespace
}  // namespace tessaly::testing
