// The help of every command of tessaly-cli and tessaly-sim against the option
// table the command parses with, and "-o -" of every command that writes a file.
#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "base/texts.h"
#include "commands.h"
#include "support/temp_dir.h"
#include "support/workbook_cells.h"
#include "tools.h"
#include "usage_error.h"

namespace tessaly::testing {
namespace {

namespace fs = std::filesystem;

struct Program {
  std::string name;
  std::string path;
  std::span<const base::Subcommand> commands;
};

std::vector<Program> Programs() {
  return {{"tessaly-cli", TESSALY_CLI_PATH, cli::Commands()}, {"tessaly-sim", TESSALY_SIM_PATH, sim::Commands()}};
}

// The lines of the options section that name an option, by option name.
std::map<std::string, std::string> ListedOptions(const std::string& help) {
  std::map<std::string, std::string> listed;
  std::istringstream lines(help);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("  -", 0) != 0) continue;
    std::string name = line.substr(2, line.find(' ', 2) - 2);
    if (name.back() == ',') name.pop_back();
    listed[name] = line;
  }
  return listed;
}

TEST(Help, EveryCommandListsExactlyTheOptionsOfItsTable) {
  for (const Program& program : Programs()) {
    for (const base::Subcommand& command : program.commands) {
      const std::string name = std::string(command.name);
      SCOPED_TRACE(program.name + " " + name);
      ASSERT_NE(command.options, nullptr) << "a command without its option table";
      const ProcessResult help = RunProcess({program.path, name, "--help"});
      EXPECT_EQ(help.exitCode, 0);
      EXPECT_EQ(help.err, "");
      EXPECT_EQ(help.out.rfind("usage: " + program.name + " " + name + " ", 0), 0u) << help.out;
      EXPECT_NE(help.out.find("\nexample:\n  " + program.name + " " + name + " "), std::string::npos);

      const std::map<std::string, std::string> listed = ListedOptions(help.out);
      std::set<std::string> expected = {"-h"};
      for (const base::OptionSpec& option : command.options()) {
        const std::string optionName(option.name);
        expected.insert(optionName);
        const auto line = listed.find(optionName);
        ASSERT_NE(line, listed.end()) << optionName << " is missing from\n" << help.out;
        if (option.takesValue) {
          EXPECT_EQ(line->second.find(optionName + " " + std::string(option.value)), 2u);
        }
        if (option.help) {
          EXPECT_NE(line->second.find(base::Text(*option.help, base::kEnglish)), std::string::npos);
        }
        if (!option.byDefault.empty()) {
          EXPECT_NE(line->second.find("(default: " + std::string(option.byDefault) + ")"), std::string::npos)
              << line->second;
        }
      }
      std::set<std::string> names;
      for (const auto& [option, line] : listed) names.insert(option);
      EXPECT_EQ(names, expected);
    }
  }
}

// The table a command lists is the one it parses with: each of its options
// passes, so the parse stops only at the unknown one after it.
TEST(Help, EveryListedOptionIsAccepted) {
  for (const Program& program : Programs()) {
    for (const base::Subcommand& command : program.commands) {
      for (const base::OptionSpec& option : command.options()) {
        std::vector<std::string> args = {program.path, std::string(command.name), std::string(option.name)};
        if (option.takesValue) args.insert(args.end(), std::max(option.valueCount, 1), "1");
        args.push_back("--no-such-option");
        SCOPED_TRACE(program.name + " " + args[1] + " " + args[2]);
        const ProcessResult r = RunProcess(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.err.rfind(program.name + ": unknown option: --no-such-option (see '" + program.name + " " +
                                  args[1] + " --help')\n",
                              0),
                  0u)
            << r.err;
      }
    }
  }
}

TEST(Help, ProgramHelpVersionAndShortHelp) {
  for (const Program& program : Programs()) {
    SCOPED_TRACE(program.name);
    const ProcessResult help = RunProcess({program.path, "--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const base::Subcommand& command : program.commands)
      EXPECT_NE(help.out.find("\n  " + std::string(command.name) + " "), std::string::npos) << command.name;
    EXPECT_EQ(RunProcess({program.path, "-h"}).out, help.out);

    const ProcessResult version = RunProcess({program.path, "--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, program.name + " " TESSALY_VERSION "\n");

    const std::string first(program.commands.front().name);
    const ProcessResult shortHelp = RunProcess({program.path, first, "-h"});
    EXPECT_EQ(shortHelp.exitCode, 0);
    EXPECT_EQ(shortHelp.out, RunProcess({program.path, first, "--help"}).out);
  }
  const ProcessResult zh = Cli({"csv", "--help", "--lang", "zh"});
  EXPECT_EQ(zh.out.rfind("用法：tessaly-cli csv ", 0), 0u) << zh.out;
}

class StdoutOutput : public ::testing::Test {
 protected:
  StdoutOutput() : cwd_(fs::current_path()) { fs::current_path(dir_.path()); }
  ~StdoutOutput() override {
    EXPECT_FALSE(fs::exists(dir_.path() / "-"));
    fs::current_path(cwd_);
  }

  TempDir dir_;
  fs::path cwd_;
};

TEST_F(StdoutOutput, EveryCommandThatWritesAFileWritesToStdoutForADash) {
  const std::string record = dir_.File("r.D01");
  const ProcessResult piped = Sim({"record", "-o", "-", "--sectors", "12"});
  ASSERT_EQ(piped.exitCode, 0) << piped.err;
  ASSERT_EQ(Sim({"record", "-o", record, "--sectors", "12"}).exitCode, 0);
  EXPECT_EQ(piped.out, ReadFileBytes(record));

  const ProcessResult csv = Cli({"csv", record, "--page", "1", "-o", "-"});
  EXPECT_EQ(csv.exitCode, 0) << csv.err;
  EXPECT_EQ(csv.out, Cli({"csv", record, "--page", "1"}).out);
  EXPECT_GT(csv.out.size(), 100u);

  const ProcessResult xlsx = Cli({"xlsx", record, "--page", "1", "-o", "-"});
  ASSERT_EQ(xlsx.exitCode, 0) << xlsx.err;
  WriteFileBytes(dir_.File("piped.xlsx"), xlsx.out);
  ASSERT_EQ(Cli({"xlsx", record, "--page", "1", "-o", dir_.File("file.xlsx")}).exitCode, 0);
  const auto cells = WorkbookCells(dir_.File("piped.xlsx"));
  EXPECT_GT(cells.size(), 10u);
  EXPECT_EQ(cells, WorkbookCells(dir_.File("file.xlsx")));

  const std::string data = dir_.File("x.DT");
  std::string records(3 * 84, '\0');
  for (size_t i = 0; i < records.size(); ++i) records[i] = static_cast<char>(i * 7);
  WriteFileBytes(data, records);
  const ProcessResult dt = Cli({"dt2csv", data, "-o", "-"});
  ASSERT_EQ(dt.exitCode, 0) << dt.err;
  ASSERT_EQ(Cli({"dt2csv", data}).exitCode, 0);
  EXPECT_EQ(dt.out, ReadFileBytes(dir_.File("x.csv")));
  EXPECT_EQ(std::count(dt.out.begin(), dt.out.end(), '\n'), 1 + 3);  // heading and the three records
}

}  // namespace
}  // namespace tessaly::testing
