#include <gtest/gtest.h>

#include "record_writer.h"
#include "recorder/record_params.h"
#include "support/record_fixture.h"

namespace tessaly::record {
namespace {

using namespace tessaly::recorder;

using tessaly::testing::RecordFixture;

struct Stored {
  int32_t mode;
  uint32_t sectorsPerPage, pageCount;
  int32_t autoPaging;
};

void Store(recorder::CRecorderData& data, const Stored& s) {
  data.pageMode = s.mode;
  data.sectorsPerPage = s.sectorsPerPage;
  data.pageCount = s.pageCount;
  data.autoPaging = s.autoPaging;
}

// A fixture with a 5000-data-sector file open (opened by fixed pages, so
// the stored values stay as each test sets them afterwards).
struct OpenFixture : RecordFixture {
  OpenFixture() {
    data.autoPaging = 0;
    sim::RecordSpec recordSpec;
    recordSpec.sectorCount = 5000;
    Open(recordSpec);
  }
};

TEST(RecordParamsModel, OpeningShowsTheValuesAndRecomputesTheDependentOne) {
  struct Case {
    const char* name;
    bool fileOpen;
    Stored stored;
    const char *sectorsText, *pageCountText;
    bool listEnabled, sectorsEnabled, pageCountEnabled;
    Stored copy;
  };
  const Case cases[] = {
      {"mode0-open", true, {0, 500, 3, 0}, "500", "10", true, true, false, {0, 500, 10, 0}},
      {"mode1-open", true, {1, 7, 4, 0}, "1250", "4", true, true, true, {1, 1250, 4, 0}},
      {"auto-open", true, {1, 7, 4, 1}, "1024", "4", false, false, false, {0, 1024, 4, 1}},
      {"mode0-closed", false, {0, 500, 3, 0}, "500", "3", true, true, false, {0, 500, 3, 0}},
      {"auto-closed", false, {1, 7, 4, 1}, "1024", "4", false, false, false, {0, 1024, 4, 1}},
      {"zero-from-settings", true, {0, 0, 0, 0}, "0", "0", true, true, false, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<RecordFixture> f = c.fileOpen ? std::make_unique<OpenFixture>() : std::make_unique<RecordFixture>();
    ASSERT_EQ(f->data.recordSet.IsOpen(), c.fileOpen);
    Store(f->data, c.stored);
    const RecordParamsModel m(f->data);
    EXPECT_EQ(m.sectorsText(), c.sectorsText);
    EXPECT_EQ(m.pageCountText(), c.pageCountText);
    EXPECT_EQ(m.selectedMode(), c.stored.mode);  // the automatic rule leaves the visible selection
    EXPECT_EQ(m.autoChecked(), c.stored.autoPaging != 0);
    EXPECT_EQ(m.modeListEnabled(), c.listEnabled);
    EXPECT_EQ(m.sectorsEnabled(), c.sectorsEnabled);
    EXPECT_EQ(m.pageCountEnabled(), c.pageCountEnabled);
    EXPECT_EQ(m.pageMode(), c.copy.mode);
    EXPECT_EQ(m.sectorsPerPage(), c.copy.sectorsPerPage);
    EXPECT_EQ(m.pageCount(), c.copy.pageCount);
    EXPECT_EQ(m.autoPaging(), c.copy.autoPaging);
  }
}

TEST(RecordParamsModel, EditsTakeTheLeadingPositiveIntegerInTheirOwnMode) {
  OpenFixture f;
  Store(f.data, {0, 1024, 4, 0});
  RecordParamsModel m(f.data);
  m.SetSectorsText("500");
  EXPECT_EQ(m.sectorsPerPage(), 500u);
  EXPECT_EQ(m.pageCountText(), "10");
  for (const char* ignored : {"abc", "0", "-5", "", " x12"}) {
    m.SetSectorsText(ignored);
    EXPECT_EQ(m.sectorsPerPage(), 500u) << ignored;
    EXPECT_EQ(m.pageCount(), 10u) << ignored;
  }
  m.SetSectorsText(" 300 sectors");
  EXPECT_EQ(m.sectorsPerPage(), 300u);
  EXPECT_EQ(m.pageCountText(), "16");
  m.SetPageCountText("2");  // not mode 1: only the text changes
  EXPECT_EQ(m.pageCount(), 16u);

  m.SelectMode(1);
  EXPECT_FALSE(m.sectorsEnabled());
  EXPECT_TRUE(m.pageCountEnabled());
  m.SetPageCountText("8");
  EXPECT_EQ(m.pageCount(), 8u);
  EXPECT_EQ(m.sectorsText(), "625");
  m.SetSectorsText("100");  // not mode 0
  EXPECT_EQ(m.sectorsPerPage(), 625u);
  m.SetPageCountText("6000");  // more pages than sectors: 0 per page
  EXPECT_EQ(m.sectorsText(), "0");
}

TEST(RecordParamsModel, AutomaticRuleAndOkCancel) {
  OpenFixture f;
  Store(f.data, {1, 7, 4, 0});
  {
    RecordParamsModel cancelled(f.data);
    cancelled.SetAutoPaging(true);
  }
  EXPECT_EQ(f.data.pageMode, 1);
  EXPECT_EQ(f.data.autoPaging, 0);

  RecordParamsModel m(f.data);
  const std::string sectorsShown = m.sectorsText();
  m.SetAutoPaging(true);
  EXPECT_EQ(m.pageMode(), 0);
  EXPECT_EQ(m.sectorsPerPage(), 1024u);
  EXPECT_FALSE(m.modeListEnabled() || m.sectorsEnabled() || m.pageCountEnabled());
  EXPECT_EQ(m.selectedMode(), 1);
  EXPECT_EQ(m.sectorsText(), sectorsShown);

  m.SetAutoPaging(false);
  EXPECT_TRUE(m.modeListEnabled());
  EXPECT_TRUE(m.sectorsEnabled());
  EXPECT_FALSE(m.pageCountEnabled());  // keeps its state until the mode changes

  m.Accept(f.data);
  EXPECT_EQ(f.data.pageMode, 0);
  EXPECT_EQ(f.data.sectorsPerPage, 1024u);
  EXPECT_EQ(f.data.pageCount, 4u);
  EXPECT_EQ(f.data.autoPaging, 0);
}

TEST(RecordParamsModel, LeadingInteger) {
  const std::pair<const char*, int64_t> cases[] = {{"42", 42},
                                                   {"  42", 42},
                                                   {"+7x", 7},
                                                   {"-3", -3},
                                                   {"12abc", 12},
                                                   {"abc", 0},
                                                   {"", 0},
                                                   {"- 3", 0},
                                                   {"99999999999", 2147483647},
                                                   {"-99999999999", -2147483648LL}};
  for (const auto& [text, n] : cases) EXPECT_EQ(RecordParamsModel::LeadingInteger(text), n) << text;
}

}  // namespace
}  // namespace tessaly::record
