// The viewer-side commands of tessaly-cli (pages, csv --page, xlsx, search,
// stats) on files written by tessaly-sim.
#include <filesystem>

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "support/workbook_cells.h"
#include "tools.h"

namespace tessaly::testing {
namespace {

namespace fs = std::filesystem;

class ViewerCliTest : public ::testing::Test {
 protected:
  std::string Record(std::vector<std::string> options) {
    const std::string path = dir_.File("r" + std::to_string(++files_) + ".D01");
    options.insert(options.begin(), {"record", "-o", path});
    const ProcessResult sim = Sim(options);
    EXPECT_EQ(sim.exitCode, 0) << sim.err;
    return path;
  }

  // Runs tessaly-cli, expecting success and nothing on stderr.
  std::string Ok(const std::vector<std::string>& args) {
    const ProcessResult r = Cli(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    return r.out;
  }

  TempDir dir_;
  int files_ = 0;
};

TEST_F(ViewerCliTest, PagesFollowTheParametersAndTheLabelRules) {
  // Ten data sectors of six one-second samples from 08:00:00.
  const std::string ten = Record({"--sectors", "10"});
  EXPECT_EQ(Ok({"pages", ten}), "2\t10\t2015_01_05 08:00:00\n");
  EXPECT_EQ(Ok({"pages", ten, "--mode", "1", "--page-count", "3"}),
            "2\t3\t2015_01_05 08:00:00\n5\t3\t2015_01_05 08:00:18\n8\t3\t2015_01_05 08:00:36\n"
            "11\t1\t2015_01_05 08:00:54\n");
  EXPECT_EQ(Ok({"pages", ten, "--mode", "1", "--page-count", "20", "--sectors-per-page", "4"}),
            "2\t4\t2015_01_05 08:00:00\n6\t4\t2015_01_05 08:00:24\n10\t2\t2015_01_05 08:00:48\n");
  // --auto 1 wins over the other options.
  EXPECT_EQ(Ok({"pages", ten, "--mode", "1", "--page-count", "3", "--auto", "1"}), "2\t10\t2015_01_05 08:00:00\n");

  // Pages 2 and 3 start with bad sectors: page 2 has none good among its 50,
  // page 3 finds one; page 2 takes page 1's label.
  const std::string damaged =
      Record({"--sectors", "200", "--fault", "50-99=bad-crc", "--fault", "100-104=not-calendar"});
  EXPECT_EQ(Ok({"pages", damaged, "--sectors-per-page", "50"}),
            "2\t50\t2015_01_05 08:00:00\n52\t50\t2015_01_05 08:00:00\n102\t50\t2015_01_05 08:10:30\n"
            "152\t50\t2015_01_05 08:15:00\n");
}

TEST_F(ViewerCliTest, AFileWithoutAUsableSectorDoesNotOpen) {
  const std::string bad = Record({"--sectors", "60", "--fault", "0-49=bad-crc"});
  for (const auto& [lang, text] : {std::pair{"en", "Failed to open file"}, std::pair{"zh", "文件打开失败"}}) {
    const ProcessResult r = Cli({"pages", bad, "--lang", lang});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, std::string("tessaly-cli: ") + text + ": " + bad + "\n");
  }
}

TEST_F(ViewerCliTest, CsvOfAPageIsTheCsvOfItsSectors) {
  const std::string small = Record(kSmallRecord);
  EXPECT_EQ(Ok({"csv", small, "--page", "1", "--interval", "2"}), ReadFileBytes(TestData("viewer_small_en.csv")));
  EXPECT_EQ(Ok({"csv", small, "--page", "1", "--interval", "2", "--lang", "zh"}),
            ReadFileBytes(TestData("viewer_small_zh.csv")));

  const std::string ten = Record({"--sectors", "10"});
  EXPECT_EQ(Ok({"csv", ten, "--page", "2", "--sectors-per-page", "4"}),
            Ok({"csv", ten, "--first", "6", "--count", "4"}));
}

TEST_F(ViewerCliTest, XlsxHasTheViewersCellsWithEmptyColumnsForUnrecordedChannels) {
  const std::string record =
      Record({"--channels", "2", "--sectors", "4", "--samples", "3", "--name", "1=温度", "--decimals", "1=1",
              "--decimals", "2=3", "--wave", "1=ramp:1,0.5", "--wave", "2=constant:-2"});
  const std::string out = dir_.File("out.xlsx");
  EXPECT_EQ(Ok({"xlsx", record, "--page", "1", "--interval", "5", "-o", out}), "");
  const std::map<std::string, std::string> cells = WorkbookCells(out);
  const std::map<std::string, std::string> expected = {
      {"A1", "Index"}, {"B1", "Time"},
      {"C1", "温度"},  // channel 2's name in the header is empty
      {"A2", "0"},     {"B2", "2015-01-05 08-00-00"},
      {"C2", "1.0"},   {"D2", "-2.000"},
      {"A3", "5"},     {"B3", "2015-01-05 08-00-05"},
      {"C3", "3.5"},   {"D3", "-2.000"},
  };
  EXPECT_EQ(cells, expected);

  EXPECT_EQ(Ok({"xlsx", record, "--first", "3", "--count", "1", "--lang", "zh", "-o", out}), "");
  const std::map<std::string, std::string> zh = WorkbookCells(out);
  EXPECT_EQ(zh.at("A1"), "序号");
  EXPECT_EQ(zh.at("B1"), "时间");
  EXPECT_EQ(zh.at("C1"), "温度");
  EXPECT_EQ(zh.at("B2"), "2015-01-05 08-00-03");
  EXPECT_EQ(zh.size(), 3u + 3u * 4u);
}

TEST_F(ViewerCliTest, SearchPrintsTheRangeOrNone) {
  // Sectors one minute apart from 10:00:00 (six samples of ten seconds).
  const std::string record = Record(
      {"--sectors", "1000", "--interval", "100", "--start", "2015-01-05 10:00:00", "--fault", "495-502=bad-crc"});
  struct Case {
    const char *from, *to, *out;
  };
  const Case cases[] = {
      {"2015-01-05 10:05:30", "2015-01-05 10:09:00", "7\t11\t5\n"},
      {"2015-01-05 09:00:00", "2015-01-05 10:01:00", "2\t3\t2\n"},
      {"2015-01-05 10:05:10", "2015-01-05 10:05:50", "none\n"},
      {"2015-01-06 10:05:10", "2015-01-07 10:05:50", "none\n"},
      {"2015-01-05 10:00:00", "2015-01-06 03:00:00", "2\t1001\t1000\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(Ok({"search", record, "--from", c.from, "--to", c.to}), c.out) << c.from;

  for (const char* lang : {"en", "zh"}) {
    const ProcessResult r =
        Cli({"search", record, "--from", "2015-01-05 10:05:30", "--to", "2015-01-05 10:05:30", "--lang", lang});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "tessaly-cli: 时间设置不合理\n");
  }
  const ProcessResult bad = Cli({"search", record, "--from", "2015-02-30 10:00:00", "--to", "2015-03-01 10:00:00"});
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_EQ(bad.err, "tessaly-cli: invalid value: --from 2015-02-30 10:00:00\n");
}

TEST_F(ViewerCliTest, StatsPrintTheCopyText) {
  // Channel 1 runs 0, 1, ... 11 at one second; channel 2 stays 5.
  const std::string record =
      Record({"--channels", "2", "--samples", "4", "--sectors", "3", "--wave", "1=ramp:0,1", "--wave", "2=constant:5"});
  std::string zeros;
  for (int ch = 3; ch <= 18; ++ch) zeros += std::to_string(ch) + "\t0\t0\t0\t\n";
  EXPECT_EQ(Ok({"stats", record, "--page", "1", "--peak"}),
            "Channel\tMax\tMin\tAvg\t\n1\t11\t0\t5.5\t\n2\t5\t5\t5\t\n" + zeros);
  EXPECT_EQ(Ok({"stats", record, "--first", "2", "--count", "3", "--peak", "--lang", "zh", "--from",
                "2015-01-05 08:00:02", "--to", "2015-01-05 08:00:05"}),
            "通道号\t峰值\t谷值\t均值\t\n1\t5\t2\t3.5\t\n2\t5\t5\t5\t\n" + zeros);

  const std::string over =
      Ok({"stats", record, "--page", "1", "--over", "--below", "--above", "--lower", "3", "--upper", "8"});
  EXPECT_EQ(over.substr(0, over.find("Channel3")),
            "Channel\tlowerlimit time（s）\tUpperlimit time（s）\t\nChannel1\t3.0\t2.0\t\nChannel2\t0.0\t0.0\t\n");
  EXPECT_EQ(Ok({"stats", record, "--page", "1", "--over", "--above", "--upper", "8", "--channel", "1"}),
            "Channel\tUpperlimit time（s）\t\n通道1\t2.0\t\n");
  EXPECT_EQ(Ok({"stats", record, "--page", "1", "--over", "--channel", "2", "--lang", "zh"}), "通道号\t\n通道2\t\n");

  struct Failure {
    std::vector<std::string> args;
    int exitCode;
    std::string err;
  };
  const Failure failures[] = {
      {{"--peak", "--from", "2015-01-05 08:00:05", "--to", "2015-01-05 08:00:05"}, 1, "Time unreasonable"},
      {{"--peak", "--from", "2015-01-05 08:00:05", "--to", "2015-01-05 08:00:01", "--lang", "zh"}, 1, "时间设置不合理"},
      {{}, 2, "missing option: --peak"},
      {{"--peak", "--over"}, 2, "unexpected argument: --over"},
      {{"--peak", "--channel", "2"}, 2, "unexpected argument: --channel"},
      {{"--over", "--channel", "19"}, 2, "invalid value: --channel 19"},
      {{"--over", "--lower", "1,5"}, 2, "invalid value: --lower 1,5"},
      {{"--peak", "--page", "2"}, 1, "page 2 does not exist (1 pages)"},
  };
  for (const Failure& f : failures) {
    std::vector<std::string> args = {"stats", record};
    if (std::find(f.args.begin(), f.args.end(), "--page") == f.args.end()) args.insert(args.end(), {"--page", "1"});
    args.insert(args.end(), f.args.begin(), f.args.end());
    const ProcessResult r = Cli(args);
    EXPECT_EQ(r.exitCode, f.exitCode) << f.err;
    EXPECT_EQ(r.err, "tessaly-cli: " + f.err + "\n");
    EXPECT_EQ(r.out, "");
  }
}

TEST_F(ViewerCliTest, StatsCursorsPrintThePanelsCopyText) {
  // Channel 1 runs -2, -1, 0, ... at one second with one decimal; channel 2 stays 5.
  const std::string record =
      Record({"--channels", "2", "--samples", "4", "--sectors", "3", "--wave", "1=ramp:-2,1", "--wave", "2=constant:5",
              "--name", "1=温度", "--unit", "1=C", "--decimals", "1=1"});
  // Under the range's low limit of 0: -1 for the second from sample 1 to 2.
  EXPECT_EQ(Ok({"stats", record, "--page", "1", "--cursors", "5", "1", "--lang", "zh"}),
            "通道\t单位\tA\tB\tΔ (B−A)\t最小值\t最大值\t平均值\t超上限（秒）\t超下限（秒）\t\n"
            "时间\t秒\t2015-01-05 08:00:05.000\t2015-01-05 08:00:01.000\t-4.000\t\t\t\t\t\t\n"
            "温度\tC\t3.0\t-1.0\t-4.0\t-1.0\t3.0\t1.0\t0.000\t1.000\t\n"
            "CH2\t\t5\t5\t0\t5\t5\t5\t0.000\t0.000\t\n");

  struct Failure {
    std::vector<std::string> args;
    int exitCode;
    std::string err;
  };
  const Failure failures[] = {
      {{"--cursors", "1", "12"}, 1, "sample index 12 lies beyond the loaded samples (12)"},
      {{"--cursors", "1", "-1"}, 2, "invalid value: --cursors -1"},
      {{"--cursors", "1"}, 2, "option needs a value: --cursors"},
      {{"--cursors", "1", "2", "--over"}, 2, "unexpected argument: --cursors"},
      {{"--cursors", "1", "2", "--upper", "3"}, 2, "unexpected argument: --upper"},
      {{"--cursors", "1", "2", "--from", "2015-01-05 08:00:00"}, 2, "unexpected argument: --from"},
  };
  for (const Failure& f : failures) {
    std::vector<std::string> args = {"stats", record, "--page", "1"};
    args.insert(args.end(), f.args.begin(), f.args.end());
    const ProcessResult r = Cli(args);
    EXPECT_EQ(r.exitCode, f.exitCode) << f.err;
    EXPECT_EQ(r.err, "tessaly-cli: " + f.err + "\n");
    EXPECT_EQ(r.out, "");
  }
}

TEST_F(ViewerCliTest, RangeOptionsAreCheckedAlike) {
  const std::string record = Record({"--sectors", "10"});
  const std::string out = dir_.File("out.xlsx");
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string err;
  };
  const Case cases[] = {
      {{"xlsx", record, "--page", "1"}, 2, "missing option: -o"},
      {{"xlsx", record, "--page", "1", "--first", "2", "-o", out}, 2, "unexpected argument: --first"},
      {{"xlsx", record, "--page", "0", "-o", out}, 2, "invalid value: --page 0"},
      {{"xlsx", record, "--count", "2", "-o", out}, 2, "missing option: --first"},
      {{"xlsx", record, "--first", "10", "--count", "3", "-o", out},
       1,
       "sectors 10 to 12 lie beyond the file (12 sectors)"},
      {{"xlsx", record, "--first", "0", "--count", "2", "-o", out}, 1, "no decodable sector in the range"},
      {{"csv", record, "--page", "3", "--sectors-per-page", "4", "--mode", "2"}, 2, "invalid value: --mode 2"},
      {{"pages", record, "--auto", "yes"}, 2, "invalid value: --auto yes"},
      {{"pages", record, "--page-count", "0"}, 2, "invalid value: --page-count 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.err);
    const ProcessResult r = Cli(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode);
    EXPECT_EQ(r.err, "tessaly-cli: " + c.err + "\n");
    EXPECT_FALSE(fs::exists(out));
  }
}

TEST_F(ViewerCliTest, PrintGivesThePagesOfThePartWindow) {
  // 60 one-second samples; channel 1 ramps 20.0, 20.5, ..., channel 2 holds the high marker.
  const std::string record = Record({"--sectors", "10", "--channels", "3", "--decimals", "1", "--wave", "1=ramp:20,0.5",
                                     "--wave", "2=constant:45000", "--device", "R-7"});
  const tessaly::testing::ScopedEnv epoch("SOURCE_DATE_EPOCH", "86400");
  const auto print = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {TESSALY_CLI_PATH, "print", record});
    const ProcessResult r = RunProcess(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r.out;
  };
  const auto text = [](int x, int y, int pt, const std::string& t) {
    return "{\"x\": " + std::to_string(x) + ", \"y\": " + std::to_string(y) + ", \"pt\": " + std::to_string(pt) +
           ", \"text\": \"" + t + "\"}";
  };
  const auto count = [](const std::string& json, const std::string& what) {
    size_t n = 0;
    for (size_t at = json.find(what); at != std::string::npos; at = json.find(what, at + 1)) ++n;
    return n;
  };
  // After the load the graph page's band covers all-graph points 27 to 33 (60 x 0.45, 60 x 0.55), P = 1.
  const std::string list = print({"--page", "1", "--document", "list", "--lang", "zh", "--json"});
  EXPECT_EQ(list.rfind("{\"pages\": [", 0), 0u);
  EXPECT_EQ(count(list, "\"picture\": null"), 1u);
  EXPECT_NE(list.find(text(5500, 100, 8, "打印时间：1970-01-02 00:00:00")), std::string::npos);
  EXPECT_NE(list.find(text(200, 4500, 8, "设备名称：R-7")), std::string::npos);
  EXPECT_NE(list.find(text(3100, 4500, 8, "记录间隔：1秒")), std::string::npos);
  EXPECT_NE(list.find(text(6200, 4500, 8, "1/1")), std::string::npos);
  EXPECT_NE(list.find(text(215, 370, 7, "27")), std::string::npos);
  EXPECT_NE(list.find(text(415, 370, 7, "2015-01-05 08:00:27")), std::string::npos);
  EXPECT_NE(list.find(text(1165, 370, 7, "33.5")), std::string::npos);
  EXPECT_NE(list.find(text(1465, 370, 7, "超上限")), std::string::npos);
  EXPECT_NE(list.find(text(215, 870, 7, "32")), std::string::npos);
  EXPECT_EQ(list.find("\"y\": 970"), std::string::npos);
  // Max, min and the float average (33.5 + ... + 36.0) / 6 = 34.75 of channel 1; none of the markers.
  EXPECT_NE(list.find(text(1165, 4070, 7, "36.0")), std::string::npos);
  EXPECT_NE(list.find(text(1165, 4170, 7, "33.5")), std::string::npos);
  EXPECT_NE(list.find(text(1165, 4270, 7, "34.8")), std::string::npos);
  EXPECT_EQ(list.find("\"x\": 1465, \"y\": 4070"), std::string::npos);
  EXPECT_EQ(count(list, "[200, "), 42u + 1u);  // 42 rules across and the index column's left edge

  // A window given at interval 20 that ends at the data's end (R = 3) prints all its rows.
  const std::string given = print(
      {"--page", "1", "--document", "list", "--part-first", "0", "--part-end", "3", "--part-interval", "20", "--json"});
  EXPECT_NE(given.find(text(215, 470, 7, "20")), std::string::npos);
  EXPECT_NE(given.find(text(215, 570, 7, "40")), std::string::npos);
  EXPECT_NE(given.find(text(1165, 4070, 7, "40.0")), std::string::npos);

  const std::string graph = print({"--page", "1", "--document", "graph", "--json"});
  EXPECT_EQ(count(graph, "\"picture\": {\"x1\": 200, \"y1\": 300, \"x2\": 6600, \"y2\": 4300}"), 1u);
  EXPECT_NE(graph.find(text(200, 200, 8, "Start time：2015-01-05 08:00:27")), std::string::npos);
  EXPECT_NE(graph.find(text(2200, 200, 8, "Stop time：2015-01-05 08:00:33")), std::string::npos);
  EXPECT_NE(graph.find(text(4000, 200, 8, "interval：1 s")), std::string::npos);
  EXPECT_EQ(count(graph, "\"color\": \"#"), 18u);

  const ProcessResult partial =
      Cli({"print", record, "--page", "1", "--document", "list", "--part-end", "3", "--json"});
  EXPECT_EQ(partial.exitCode, 2);
  EXPECT_EQ(partial.err, "tessaly-cli: the part window needs all of --part-first, --part-end and --part-interval\n");
  const ProcessResult document = Cli({"print", record, "--page", "1", "--document", "table", "--json"});
  EXPECT_EQ(document.err, "tessaly-cli: invalid value: --document table\n");
}

// One recording written whole and as three consecutive files: every command
// gives the same output on both. Sector 2 + 834 begins the second file at
// 09:23:24, 2 + 1667 the third at 10:46:42; page 1 spans the first two.
TEST_F(ViewerCliTest, ARecordingSplitInThreeFilesGivesTheWholesOutputs) {
  const std::vector<std::string> recording = {"--sectors", "2500",   "--channels", "5",      "--decimals",
                                              "2",         "--name", "1=温度",     "--wave", "3=ramp:0,0.25"};
  const std::string whole = Record(recording);
  const std::string folder = dir_.File("copied");
  fs::create_directory(folder);
  std::vector<std::string> split = {"record", "-o", folder + "/shift.D01", "--split", "3"};
  split.insert(split.end(), recording.begin(), recording.end());
  const ProcessResult written = Sim(split);
  ASSERT_EQ(written.exitCode, 0) << written.err;
  const std::string parts[] = {folder + "/shift.D01", folder + "/shift.D02", folder + "/shift.D03"};
  for (const std::string& part : parts) ASSERT_TRUE(fs::exists(part)) << part;

  const std::vector<std::vector<std::string>> commands = {
      {"pages"},
      {"pages", "--mode", "1", "--page-count", "7"},
      {"csv", "--page", "1", "--interval", "3"},
      {"csv", "--first", "800", "--count", "900"},
      {"search", "--from", "2015-01-05 09:20:00", "--to", "2015-01-05 10:50:00"},
      {"stats", "--page", "1", "--peak"},
      {"stats", "--first", "830", "--count", "840", "--over", "--below", "--above", "--lower", "10", "--upper", "50"},
      {"print", "--page", "1", "--document", "list", "--part-first", "4900", "--part-end", "5100", "--part-interval",
       "1", "--json"},
      {"print", "--page", "2", "--document", "graph", "--json"},
  };
  const tessaly::testing::ScopedEnv epoch("SOURCE_DATE_EPOCH", "86400");
  for (const std::vector<std::string>& command : commands) {
    const auto run = [&](const std::vector<std::string>& files) {
      std::vector<std::string> args = {TESSALY_CLI_PATH, command[0]};
      args.insert(args.end(), files.begin(), files.end());
      args.insert(args.end(), command.begin() + 1, command.end());
      const ProcessResult r = RunProcess(args);
      EXPECT_EQ(r.exitCode, 0) << r.err;
      EXPECT_EQ(r.err, "");
      return r.out;
    };
    std::string named;
    for (const std::string& part : command) named += part + " ";
    SCOPED_TRACE(named);
    const std::string expected = run({whole});
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(run({parts[2], parts[0], parts[1]}), expected);
    EXPECT_EQ(run({folder}), expected);
  }
  EXPECT_EQ(Ok({"search", folder, "--from", "2015-01-05 09:20:00", "--to", "2015-01-05 10:50:00"}),
            "802\t1702\t901\n");  // from the first file to the third

  const std::string wholeXlsx = dir_.File("whole.xlsx");
  const std::string splitXlsx = dir_.File("split.xlsx");
  EXPECT_EQ(Ok({"xlsx", whole, "--first", "830", "--count", "10", "-o", wholeXlsx}), "");
  EXPECT_EQ(Ok({"xlsx", folder, "--first", "830", "--count", "10", "-o", splitXlsx}), "");
  EXPECT_EQ(WorkbookCells(splitXlsx), WorkbookCells(wholeXlsx));

  const std::string info = Ok({"info", folder, "--json"});
  const size_t from = info.find("\"files\"");
  const std::string files = info.substr(from, info.find("  \"firstValidSector\"") - from);
  EXPECT_EQ(files,
            "\"files\": [\n"
            "    {\"path\": \"" +
                parts[0] +
                "\", \"headerSectors\": 2, \"dataSectors\": 834, \"firstSector\": 2, "
                "\"firstTime\": \"2015-01-05 08:00:00\", \"lastTime\": \"2015-01-05 09:23:18\"},\n"
                "    {\"path\": \"" +
                parts[1] +
                "\", \"headerSectors\": 2, \"dataSectors\": 833, \"firstSector\": 836, "
                "\"firstTime\": \"2015-01-05 09:23:24\", \"lastTime\": \"2015-01-05 10:46:36\"},\n"
                "    {\"path\": \"" +
                parts[2] +
                "\", \"headerSectors\": 2, \"dataSectors\": 833, \"firstSector\": 1669, "
                "\"firstTime\": \"2015-01-05 10:46:42\", \"lastTime\": \"2015-01-05 12:09:54\"}\n"
                "  ],\n"
                "  \"refused\": [],\n");
  EXPECT_NE(info.find("\"dataSectors\": 2500,"), std::string::npos) << info;
}

// A damaged file among the parts is named on stderr; the others still answer.
TEST_F(ViewerCliTest, ARefusedPartIsNamedAndTheRestOpen) {
  const std::string first = dir_.File("day.D01");
  ASSERT_EQ(Sim({"record", "-o", first, "--split", "2", "--sectors", "20"}).exitCode, 0);
  WriteFileBytes(dir_.File("day.D03"), std::string(2048, '\0'));
  const ProcessResult r = Cli({"pages", dir_.path().string()});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "tessaly-cli: These files were not opened:\nday.D03: holds no valid record\n");
  EXPECT_EQ(r.out, "2\t20\t2015_01_05 08:00:00\n");
}

TEST_F(ViewerCliTest, SplitNeedsANumberedNameAndEnoughSectors) {
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const Case cases[] = {
      {{"-o", "-", "--split", "2"}, "invalid value: --split 2"},
      {{"-o", dir_.File("x.csv"), "--split", "2"}, "invalid value: --split 2"},
      {{"-o", dir_.File("x.D98"), "--split", "3"}, "invalid value: --split 3"},
      {{"-o", dir_.File("x.D01"), "--split", "0"}, "invalid value: --split 0"},
      {{"-o", dir_.File("x.D01"), "--split", "5", "--sectors", "4"}, "invalid value: --split 5"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"record"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProcessResult r = Sim(args);
    EXPECT_EQ(r.exitCode, 2) << c.args[1];
    EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
  }
  EXPECT_TRUE(fs::is_empty(dir_.path()));
  ASSERT_EQ(Sim({"record", "-o", dir_.File("x.d07"), "--split", "3", "--sectors", "4"}).exitCode, 0);
  EXPECT_EQ(fs::file_size(dir_.File("x.d07")), (2 + 2) * 512u);
  EXPECT_EQ(fs::file_size(dir_.File("x.d08")), (2 + 1) * 512u);
  EXPECT_EQ(fs::file_size(dir_.File("x.d09")), (2 + 1) * 512u);
}

}  // namespace
}  // namespace tessaly::testing
