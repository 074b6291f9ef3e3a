#include <gtest/gtest.h>

#include "base/command_line.h"

namespace tessaly::base {
namespace {

constexpr OptionSpec kSpecs[] = {
    {"--first"}, {"--json", false}, {"-o"}, {"--name"}, {.name = "--pair", .valueCount = 2}};

struct Parsed {
  bool ok;
  CommandLine line;
  ArgError error;
};

Parsed Parse(const std::vector<std::string>& args) {
  Parsed p;
  p.ok = p.line.Parse(args, kSpecs, p.error);
  return p;
}

TEST(CommandLine, OptionsFlagsAndPositionalInAnyOrder) {
  const Parsed p =
      Parse({"a.D01", "--first", "7", "--json", "--name=1=温度", "-o", "out.csv", "--name", "2=x", "--", "--json"});
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.line.Positional(), (std::vector<std::string>{"a.D01", "--json"}));
  EXPECT_TRUE(p.line.Has("--json"));
  EXPECT_EQ(*p.line.Value("--first"), "7");
  EXPECT_EQ(*p.line.Value("-o"), "out.csv");
  EXPECT_EQ(p.line.Values("--name"), (std::vector<std::string>{"1=温度", "2=x"}));
  EXPECT_EQ(*p.line.Value("--name"), "2=x");
  EXPECT_EQ(p.line.Value("--missing"), nullptr);

  // An option of two values takes both, in either spelling.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--pair", "3", "-9", "a"}, std::vector<std::string>{"--pair=3", "-9", "a"}}) {
    const Parsed pair = Parse(args);
    ASSERT_TRUE(pair.ok);
    EXPECT_EQ(pair.line.Values("--pair"), (std::vector<std::string>{"3", "-9"}));
    EXPECT_EQ(pair.line.Positional(), (std::vector<std::string>{"a"}));
  }
}

TEST(CommandLine, ErrorsNameTheArgument) {
  struct Case {
    std::vector<std::string> args;
    TextId text;
    std::string subject;
  };
  const Case cases[] = {
      {{"--frist", "1"}, TextId::ArgUnknownOption, "--frist"},
      {{"a", "--first"}, TextId::ArgMissingValue, "--first"},
      {{"--pair", "1"}, TextId::ArgMissingValue, "--pair"},
      {{"--json=1"}, TextId::ArgBadValue, "--json=1"},
  };
  for (const Case& c : cases) {
    const Parsed p = Parse(c.args);
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.error.text, c.text);
    EXPECT_EQ(p.error.subject, c.subject);
  }
  EXPECT_EQ((ArgError{TextId::ArgUnknownOption, "--frist"}.Message(kEnglish)), "unknown option: --frist");
  EXPECT_EQ((ArgError{TextId::ArgUnknownOption, "--frist"}.Message(kChinese)), "未知选项：--frist");
}

TEST(CommandLine, IntegersWithinTheirRange) {
  struct Case {
    const char* value;
    bool ok;
    uint32_t result;
  };
  const Case cases[] = {{"0", true, 0},           {"4294967295", true, 4294967295u},
                        {"4294967296", false, 9}, {"-1", false, 9},
                        {"12x", false, 9},        {"", false, 9},
                        {" 5", false, 9},         {"+5", false, 9},
                        {"007", true, 7}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    const Parsed p = Parse({"--first", c.value});
    ASSERT_TRUE(p.ok);
    uint32_t out = 9;
    ArgError error;
    EXPECT_EQ(p.line.Integer<uint32_t>("--first", 0, UINT32_MAX, out, error), c.ok);
    EXPECT_EQ(out, c.result);
    if (!c.ok) {
      EXPECT_EQ(error.subject, std::string("--first ") + c.value);
    }
  }
  uint32_t untouched = 9;
  ArgError error;
  EXPECT_TRUE(Parse({}).line.Integer<uint32_t>("--first", 0, 10, untouched, error));
  EXPECT_EQ(untouched, 9u);
  EXPECT_FALSE(Parse({}).line.Require("--first", error));
  EXPECT_EQ(error.text, TextId::ArgMissingOption);
}

TEST(CommandLine, LanguageIsKnownBeforeParsing) {
  EXPECT_EQ(LanguageOption({"x", "--lang", "zh", "--bad"}), kChinese);
  EXPECT_EQ(LanguageOption({"--lang=zh"}), kChinese);
  EXPECT_EQ(LanguageOption({"--lang", "en"}), kEnglish);
  EXPECT_EQ(LanguageOption({"--lang"}), kEnglish);
  EXPECT_EQ(LanguageOption({"--", "--lang", "zh"}), kEnglish);
}

}  // namespace
}  // namespace tessaly::base
