#include <gtest/gtest.h>

#include "base/texts.h"
#include "record/record_file.h"
#include "record/record_header.h"
#include "record_writer.h"
#include "settings/program_settings.h"
#include "support/temp_dir.h"

namespace tessaly::record {
namespace {

using sim::HeaderFault;
using sim::RecordSpec;
using tessaly::testing::TempDir;
using tessaly::testing::WriteFileBytes;

std::string Bytes(const std::vector<unsigned char>& v) { return std::string(v.begin(), v.end()); }

class RecordHeaderTest : public ::testing::Test {
 protected:
  // Writes `bytes` as the record file and reads its header into data_.
  void ReadHeader(const std::string& bytes, int language = base::kEnglish) {
    const std::string path = dir_.File("r.D01");
    WriteFileBytes(path, bytes);
    ASSERT_TRUE(file_.Open(path));
    data_.language = language;
    headerSectors_ = ReadRecordHeader(file_, data_, language);
  }

  static RecordSpec NamedSpec() {
    RecordSpec recordSpec;
    recordSpec.sectorCount = 3;
    recordSpec.deviceName = "记录仪R-18";
    recordSpec.names[0] = "温度1";
    recordSpec.units[0] = "℃";
    recordSpec.names[1] = "ABCDEFGHIJKLMNOP";  // exactly 16 bytes: no terminator in the header
    recordSpec.units[1] = "0123456789abcdef";
    recordSpec.names[3] = "Flow";
    recordSpec.units[3] = "m3/h";
    return recordSpec;  // channel 5 (index 4) has an empty name
  }

  void ExpectDefaults(int language) {
    const bool zh = language == base::kChinese;
    EXPECT_EQ(headerSectors_, 0u);
    EXPECT_EQ(settings::DeviceName(data_), "");
    EXPECT_EQ(settings::ChannelName(data_.channels[0]), zh ? "通道01" : "Channel01");
    EXPECT_EQ(settings::ChannelName(data_.channels[9]), zh ? "通道10" : "Channel10");
    EXPECT_EQ(settings::ChannelName(data_.channels[17]), zh ? "通道18" : "Channel18");
    for (const settings::ChannelInfo& channel : data_.channels) EXPECT_EQ(settings::ChannelUnit(channel), "");
  }

  TempDir dir_;
  RecordFile file_;
  settings::ProgramSettings data_;
  uint32_t headerSectors_ = 0;
};

TEST_F(RecordHeaderTest, ValidHeaderGivesItsTextsInUtf8) {
  data_.channels[2].shown = 0;
  settings::SetChannelName(data_.channels[4], "old name");
  ReadHeader(Bytes(sim::BuildRecordFile(NamedSpec())));
  EXPECT_EQ(headerSectors_, 2u);
  EXPECT_EQ(settings::DeviceName(data_), "记录仪R-18");
  EXPECT_EQ(settings::ChannelName(data_.channels[0]), "温度1");
  EXPECT_EQ(settings::ChannelUnit(data_.channels[0]), "℃");
  EXPECT_EQ(settings::ChannelName(data_.channels[1]), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(settings::ChannelUnit(data_.channels[1]), "0123456789abcdef");
  EXPECT_EQ(settings::ChannelName(data_.channels[3]), "Flow");
  EXPECT_EQ(settings::ChannelName(data_.channels[4]), "");  // empty in the header: empty, not the default
  EXPECT_EQ(settings::ChannelName(data_.channels[17]), "");
  EXPECT_EQ(data_.channels[2].shown, 0);  // shown flags are not the header's business
  // Stored as GBK, as the settings keep them.
  EXPECT_EQ(std::string(data_.channels[0].name),
            "\xCE\xC2\xB6\xC8"
            "1");
}

TEST_F(RecordHeaderTest, RefusedHeadersLeaveTheDefaults) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  RecordSpec firstCrc = NamedSpec();
  firstCrc.headerFault = HeaderFault::FirstCrc;
  RecordSpec blockCrc = NamedSpec();
  blockCrc.headerFault = HeaderFault::BlockCrc;
  RecordSpec b0 = NamedSpec();
  b0.headerSectors = 0;
  RecordSpec b1 = NamedSpec();
  b1.headerSectors = 1;  // both CRCs right, but too short for the names
  RecordSpec b10 = NamedSpec();
  b10.headerSectors = 10;
  b10.sectorCount = 0;
  RecordSpec none = NamedSpec();
  none.header = false;
  const Case cases[] = {
      {"first CRC wrong", Bytes(sim::BuildRecordFile(firstCrc))},
      {"first CRC right, block CRC wrong", Bytes(sim::BuildRecordFile(blockCrc))},
      {"b = 0", Bytes(sim::BuildRecordFile(b0))},
      {"b = 1", Bytes(sim::BuildRecordFile(b1))},
      {"b larger than the file", Bytes(sim::BuildRecordFile(b10)).substr(0, 3 * 512)},
      {"no header", Bytes(sim::BuildRecordFile(none))},
      {"shorter than 32 bytes", Bytes(sim::BuildRecordFile(NamedSpec())).substr(0, 31)},
      {"empty file", ""},
  };
  for (const Case& c : cases) {
    for (int language : {base::kChinese, base::kEnglish}) {
      SCOPED_TRACE(::testing::Message() << c.what << ", language " << language);
      file_.Close();
      ReadHeader(c.bytes, language);
      ExpectDefaults(language);
    }
  }
}

TEST_F(RecordHeaderTest, WholeSectorsOnlyCount) {
  // 1,000,000 bytes with b = 2: 1953 whole sectors, 1951 of them data; the
  // last 64 bytes are ignored.
  std::string bytes = Bytes(sim::BuildHeader(NamedSpec()));
  bytes.resize(1'000'000, '\0');
  ReadHeader(bytes);
  EXPECT_EQ(file_.SectorCount(), 1953u);
  EXPECT_EQ(file_.SectorCount() - headerSectors_, 1951u);
}

}  // namespace
}  // namespace tessaly::record
