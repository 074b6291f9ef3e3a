#include <cfloat>
#include <cstring>

#include <gtest/gtest.h>

#include "base/number_text.h"
#include "settings/display_params_edit.h"
#include "settings/program_settings.h"

namespace tessaly::settings {
namespace {

struct DecimalCase {
  const char* text;
  double value;
};

TEST(NumberText, LeadingDecimalReadsTheLongestLeadingNumber) {
  const DecimalCase cases[] = {
      {"12.5", 12.5},  {"  \t-3.25xyz", -3.25},
      {"+.5", 0.5},    {"7.", 7.0},
      {"1e3", 1000.0}, {"2E-2kg", 0.02},
      {"4e", 4.0},     {"4e+", 4.0},
      {"", 0.0},       {"abc", 0.0},
      {"-", 0.0},      {".", 0.0},
      {"inf", 0.0},    {"nan", 0.0},
      {"0x10", 0.0},   {"1,5", 1.0},
      {"- 1", 0.0},    {"00012", 12.0},
      {"1.2.3", 1.2},
  };
  for (const DecimalCase& c : cases) EXPECT_DOUBLE_EQ(base::LeadingDecimal(c.text), c.value) << '"' << c.text << '"';
}

TEST(NumberText, LeadingIntegerStopsAtTheFirstNonDigitAndSaturates) {
  EXPECT_EQ(base::LeadingInteger(" 42abc"), 42);
  EXPECT_EQ(base::LeadingInteger("-7"), -7);
  EXPECT_EQ(base::LeadingInteger("12.9"), 12);
  EXPECT_EQ(base::LeadingInteger("x1"), 0);
  EXPECT_EQ(base::LeadingInteger("99999999999999999999999"), INT64_MAX);
  EXPECT_EQ(base::LeadingInteger("-99999999999999999999999"), INT64_MIN);
}

TEST(DisplayParamsEdit, FloatsRoundTripThroughTwoDecimals) {
  EXPECT_EQ(DisplayParamsEdit::FloatText(3.14159f), "3.14");
  EXPECT_EQ(DisplayParamsEdit::TakeFloat(DisplayParamsEdit::FloatText(3.14159f)), 3.14f);
  EXPECT_EQ(DisplayParamsEdit::TakeFloat(DisplayParamsEdit::FloatText(-2.678f)), -2.68f);
  EXPECT_EQ(DisplayParamsEdit::TakeFloat("junk"), 0.0f);
  EXPECT_EQ(DisplayParamsEdit::TakeFloat("1e300"), FLT_MAX);
  EXPECT_EQ(DisplayParamsEdit::TakeFloat("-1e300"), -FLT_MAX);
}

TEST(DisplayParamsEdit, IntervalsTakeOnlyPositiveValues) {
  struct Case {
    const char* text;
    int32_t expected;
  } const cases[] = {{"25", 25}, {"0", 9}, {"-3", 9}, {"abc", 9}, {"", 9}, {"8px", 8}, {"4294967296", 9}};
  for (const Case& c : cases) {
    int32_t field = 9;
    DisplayParamsEdit::TakeInterval(field, c.text);
    EXPECT_EQ(field, c.expected) << c.text;
  }
}

TEST(DisplayParamsEdit, EditsTheCopyUntilCommit) {
  ProgramSettings data;
  data.Display() = DisplaySettings{};
  data.listInterval = 4;
  data.autoRange = 1;
  DisplayParamsEdit edit(data);
  edit.settings.listInterval = 10;
  edit.settings.channels[5].color = 0x123456;
  edit.autoRange = 0;
  EXPECT_EQ(data.listInterval, 4);
  EXPECT_EQ(data.autoRange, 1);
  edit.Commit(data);
  EXPECT_EQ(data.listInterval, 10);
  EXPECT_EQ(data.channels[5].color, 0x123456u);
  EXPECT_EQ(data.autoRange, 0);
}

TEST(DisplayParamsEdit, NavigationStopsAtTheFirstAndLastChannel) {
  ProgramSettings data;
  DisplayParamsEdit edit(data);
  EXPECT_FALSE(edit.Previous());
  EXPECT_EQ(edit.channel, 0);
  for (int i = 1; i < kChannels; ++i) EXPECT_TRUE(edit.Next());
  EXPECT_EQ(edit.channel, kChannels - 1);
  EXPECT_FALSE(edit.Next());
  EXPECT_EQ(edit.channel, kChannels - 1);
  EXPECT_TRUE(edit.Previous());
  EXPECT_EQ(edit.channel, kChannels - 2);
}

}  // namespace
}  // namespace tessaly::settings
