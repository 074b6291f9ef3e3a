#include <cstring>
#include <filesystem>
#include <optional>

#include <gtest/gtest.h>

#include "base/fs_path.h"
#include "base/texts.h"
#include "recorder/recorder_data.h"
#include "settings/program_settings.h"
#include "settings/settings_file.h"
#include "settings/unit_table.h"
#include "support/platform.h"
#include "support/temp_dir.h"

namespace tessaly::settings {
namespace {

using tessaly::testing::ReadFileBytes;
using tessaly::testing::ScopedEnv;
using tessaly::testing::ScopedSettingsDir;
using tessaly::testing::WriteFileBytes;

class RecordingSink : public base::MessageSink {
 public:
  void ShowMessage(const std::string& text) override { said.push_back(text); }
  std::vector<std::string> said;
};

// A complete file image whose every field is recognisable.
std::string DistinctImage() {
  std::string image(kSettingsFileSize, '\0');
  auto put = [&](size_t offset, int32_t v) { std::memcpy(&image[offset], &v, 4); };
  put(0, 1);   // pageMode
  put(4, 77);  // sectorsPerPage
  put(8, 5);   // pageCount
  put(12, 0);  // autoPaging
  put(16, 0);  // yAxisMode
  float ymax = 250.5f;
  std::memcpy(&image[24], &ymax, 4);
  put(40 + 60 * 2 + 0, 0x123456);  // channel 3 colour
  put(40 + 60 * 2 + 4, 3);         // channel 3 line width
  put(40 + 60 * 2 + 8, 0);         // channel 3 hidden
  std::memcpy(&image[40 + 60 * 2 + 16], "NAME", 4);
  put(1128, 7);  // listInterval
  put(1132, 0);  // autoInterval
  std::memcpy(&image[1140], "DEV", 3);
  put(1160, 3);     // comPort
  put(1164, 4);     // baudIndex
  put(1168, 2);     // parityIndex
  put(1172, 42);    // deviceAddress
  put(1176, 2500);  // pollIntervalMs
  put(1180, 1);     // language
  put(1184, 1);     // autoRange
  return image;
}

TEST(Settings, RecordLayoutsHaveTheirStoredSizes) {
  EXPECT_EQ(sizeof(ChannelInfo), 60u);
  EXPECT_EQ(sizeof(DisplaySettings), 1144u);
  EXPECT_EQ(offsetof(ChannelInfo, rangeLow), 52u);
  EXPECT_EQ(offsetof(DisplaySettings, allGraphInterval), 1120u - 16u);
  EXPECT_EQ(offsetof(DisplaySettings, deviceName), 1140u - 16u);
  EXPECT_EQ(kUnitTable.size(), 66u);
  EXPECT_STREQ(kUnitTable[7], "℃");
  EXPECT_STREQ(kUnitTable[65], "uS/cm");
}

TEST(Settings, InitialValuesBeforeAnyRead) {
  recorder::CRecorderData data;
  EXPECT_EQ(data.bandTool, -1);
  EXPECT_EQ(data.cursorTool, -1);
  EXPECT_EQ(data.idle.load(), 1);
  EXPECT_EQ(data.running.load(), 0);
  EXPECT_EQ(data.yAxisMode, 0);
  EXPECT_EQ(data.sectorsPerPage, 0u);
}

TEST(Settings, CompleteFileIsReadAtItsOffsetsThenReset) {
  ScopedSettingsDir dir;
  WriteFileBytes(dir.SettingsFile(), DistinctImage());
  ProgramSettings data;
  ReadSettings(data);
  EXPECT_EQ(data.pageMode, 1);
  EXPECT_EQ(data.sectorsPerPage, 77u);
  EXPECT_EQ(data.pageCount, 5u);
  EXPECT_EQ(data.autoPaging, 0);
  EXPECT_EQ(data.yAxisMode, 0);
  EXPECT_FLOAT_EQ(data.yRangeMax, 250.5f);
  EXPECT_EQ(data.channels[2].color, 0x123456u);
  EXPECT_EQ(data.channels[2].lineWidth, 3);
  EXPECT_EQ(data.listInterval, 7);
  EXPECT_EQ(data.autoInterval, 0);
  EXPECT_EQ(data.comPort, 3);
  EXPECT_EQ(data.baudIndex, 4);
  EXPECT_EQ(data.parityIndex, 2);
  EXPECT_EQ(data.deviceAddress, 42);
  EXPECT_EQ(data.pollIntervalMs, 2500);
  EXPECT_EQ(data.language, 1);
  EXPECT_EQ(data.autoRange, 1);
  // The resets: names, units and device name never survive a read; every channel shown.
  EXPECT_EQ(ChannelName(data.channels[2]), "");
  EXPECT_EQ(DeviceName(data), "");
  for (const ChannelInfo& ch : data.channels) EXPECT_EQ(ch.shown, 1);
}

TEST(Settings, WriteThenReadRoundTripsEveryPersistedField) {
  ScopedSettingsDir dir;
  WriteFileBytes(dir.SettingsFile(), DistinctImage());
  ProgramSettings data;
  ReadSettings(data);
  ASSERT_TRUE(WriteSettings(data));
  std::string written = ReadFileBytes(dir.SettingsFile());
  ASSERT_EQ(written.size(), kSettingsFileSize);
  // What changed is exactly what the read resets: channel 3's shown flag and
  // name, and the device name.
  std::string expected = DistinctImage();
  const int32_t one = 1;
  std::memcpy(&expected[40 + 60 * 2 + 8], &one, 4);
  std::memset(&expected[40 + 60 * 2 + 16], 0, 4);
  std::memset(&expected[1140], 0, 3);
  for (int i = 0; i < 18; ++i) std::memcpy(&expected[40 + 60 * i + 8], &one, 4);
  // Line widths of 0 in the image are corrected to 1 on reading.
  for (int i = 0; i < 18; ++i)
    if (i != 2) std::memcpy(&expected[40 + 60 * i + 4], &one, 4);
  EXPECT_EQ(written, expected);
}

TEST(Settings, MissingFileIsCreatedEmptyAndGivesSoundDefaults) {
  ScopedSettingsDir dir;
  ProgramSettings data;
  ReadSettings(data);
  std::error_code error;
  EXPECT_EQ(std::filesystem::file_size(base::FsPath(dir.SettingsFile()), error), 0u);
  ASSERT_FALSE(error);
  EXPECT_EQ(data.autoPaging, 1);
  EXPECT_EQ(data.pageMode, 0);
  EXPECT_EQ(data.sectorsPerPage, 1024u);
  EXPECT_GT(data.pageCount, 0u);
  EXPECT_EQ(data.autoInterval, 1);
  EXPECT_EQ(data.listInterval, 1);
  EXPECT_GT(data.partGraphInterval, 0);
  EXPECT_EQ(data.language, 0);
  for (const ChannelInfo& ch : data.channels) {
    EXPECT_EQ(ch.shown, 1);
    EXPECT_GE(ch.lineWidth, 1);
    EXPECT_NE(ch.rangeLow, ch.rangeHigh);
  }
  ASSERT_TRUE(WriteSettings(data));
  EXPECT_EQ(ReadFileBytes(dir.SettingsFile()).size(), kSettingsFileSize);
}

TEST(Settings, FileOf1160BytesLeavesSerialLanguageAndAutoRangeAtZero) {
  ScopedSettingsDir dir;
  WriteFileBytes(dir.SettingsFile(), DistinctImage().substr(0, 1160));
  ProgramSettings data;
  ReadSettings(data);
  EXPECT_EQ(data.sectorsPerPage, 77u);
  EXPECT_EQ(data.listInterval, 7);
  EXPECT_EQ(data.comPort, 0);
  EXPECT_EQ(data.baudIndex, 0);
  EXPECT_EQ(data.language, 0);
  EXPECT_EQ(data.autoRange, 0);
}

TEST(Settings, ShortFileKeepsDefaultsBeyondWhatItHolds) {
  ScopedSettingsDir dir;
  WriteFileBytes(dir.SettingsFile(), DistinctImage().substr(0, 6));  // pageMode and half of sectorsPerPage
  ProgramSettings data;
  ReadSettings(data);
  EXPECT_EQ(data.pageMode, 1);
  EXPECT_EQ(data.sectorsPerPage & 0xFFFFu, 77u);  // low half from the file, high half from the default
  EXPECT_EQ(data.listInterval, 1);
  EXPECT_EQ(data.autoInterval, 1);
}

TEST(Settings, OutOfRangeValuesAreCorrectedBeforeUse) {
  ScopedSettingsDir dir;
  std::string image = DistinctImage();
  auto put = [&](size_t offset, int32_t v) { std::memcpy(&image[offset], &v, 4); };
  put(40 + 4, 9);  // channel 1 line width
  put(40 + 60 + 4, -2);
  put(40 + 12, 66);  // channel 1 unit index
  put(40 + 60 + 12, -1);
  put(1164, 5);  // baud index
  put(1168, 7);  // parity index
  WriteFileBytes(dir.SettingsFile(), image);
  ProgramSettings data;
  ReadSettings(data);
  EXPECT_EQ(data.channels[0].lineWidth, 4);
  EXPECT_EQ(data.channels[1].lineWidth, 1);
  EXPECT_EQ(data.channels[0].unitIndex, 0);
  EXPECT_EQ(data.channels[1].unitIndex, 0);
  EXPECT_EQ(data.baudIndex, 2);
  EXPECT_EQ(data.parityIndex, 0);
}

TEST(Settings, FailedWriteReportsInTheLanguageAndKeepsThePreviousFile) {
  ScopedSettingsDir dir;
  const std::string previous = DistinctImage();
  WriteFileBytes(dir.SettingsFile(), previous);
  testing::SetReadOnly(dir.SettingsFile(), true);
  for (int language : {0, 1}) {
    ProgramSettings data;
    RecordingSink sink;
    data.messages = &sink;
    data.language = language;
    EXPECT_FALSE(WriteSettings(data));
    ASSERT_EQ(sink.said.size(), 1u);
    EXPECT_EQ(sink.said[0], language == 0 ? "文件打开失败" : "Failed to open file");
  }
  EXPECT_EQ(ReadFileBytes(dir.SettingsFile()), previous);
}

TEST(Settings, WriteIntoMissingFolderFailsWithTheMessage) {
  testing::TempDir tmp;
  ScopedEnv absent("TESSALY_SETTINGS_DIR", tmp.File("absent").c_str());
  ProgramSettings data;
  RecordingSink sink;
  data.messages = &sink;
  data.language = 1;
  EXPECT_FALSE(WriteSettings(data));
  EXPECT_EQ(sink.said, std::vector<std::string>{"Failed to open file"});
}

// A program folder and a home of its own, without TESSALY_SETTINGS_DIR.
class SettingsPlaces : public ::testing::Test {
 protected:
  SettingsPlaces() { std::filesystem::create_directories(base::FsPath(program)); }
  ~SettingsPlaces() override { testing::SetReadOnly(program, false); }
  std::string Beside() const { return program + "/记录仪.ini"; }
  std::string Own() const { return root.File(UserConfig() + "/tessaly/记录仪.ini"); }
  std::string UserConfig() const { return "home/" + std::string(testing::ConfigFolderInHome()); }
  // The bin folder of an installed tree: its desktop entry lies in ../share.
  void MarkInstalled() const {
    std::filesystem::create_directories(root.path() / "share/applications");
    WriteFileBytes(root.File("share/applications/" TESSALY_APP_ID ".desktop"), "");
  }

  testing::TempDir root;
  const std::string program = root.File("bin");
  ScopedEnv noOverride{"TESSALY_SETTINGS_DIR", nullptr};
  ScopedEnv home{testing::HomeVariable(), root.File("home").c_str()};
  ScopedEnv noConfig{testing::ConfigVariable(), nullptr};
};

TEST_F(SettingsPlaces, WritableProgramFolderKeepsTheFileBesideTheProgram) {
  const SettingsPlace place = LocateSettings(program);
  EXPECT_EQ(place.readPath, Beside());
  EXPECT_EQ(place.writePath, Beside());
  EXPECT_TRUE(place.createOnRead);
}

TEST_F(SettingsPlaces, OverrideWinsOverBothPlaces) {
  ScopedSettingsDir dir;
  testing::SetReadOnly(program, true);
  for (const SettingsPlace& place : {LocateSettings(program), LocateSettings(root.File("absent"))}) {
    EXPECT_EQ(place.readPath, dir.SettingsFile());
    EXPECT_EQ(place.writePath, dir.SettingsFile());
  }
}

TEST_F(SettingsPlaces, ReadOnlyOrInstalledProgramUsesTheUsersFolder) {
  if (testing::UnderWine()) GTEST_SKIP() << "wine keeps no read-only attribute on folders";
  for (const bool installed : {false, true}) {
    SCOPED_TRACE(installed ? "installed" : "read-only");
    if (installed) {
      testing::SetReadOnly(program, false);
      MarkInstalled();
    } else {
      testing::SetReadOnly(program, true);
    }
    const SettingsPlace place = LocateSettings(program);
    EXPECT_EQ(place.readPath, Own());
    EXPECT_EQ(place.writePath, Own());
    EXPECT_FALSE(place.createOnRead);
  }
  ScopedEnv config(testing::ConfigVariable(), root.File("xdg").c_str());
  EXPECT_EQ(LocateSettings(program).writePath, root.File("xdg/tessaly/记录仪.ini"));
}

TEST_F(SettingsPlaces, FileBesideAReadOnlyProgramIsReadThereAndWrittenToTheUsersFolder) {
  if (testing::UnderWine()) GTEST_SKIP() << "wine keeps no read-only attribute on folders";
  WriteFileBytes(Beside(), DistinctImage());
  testing::SetReadOnly(program, true);
  ProgramSettings data;
  ReadSettings(data, LocateSettings(program));
  EXPECT_EQ(data.sectorsPerPage, 77u);
  EXPECT_FALSE(std::filesystem::exists(base::FsPath(root.File(UserConfig()))));  // reading creates nothing

  data.deviceAddress = 43;
  ASSERT_TRUE(WriteSettings(data, LocateSettings(program)));
  EXPECT_EQ(ReadFileBytes(Beside()), DistinctImage());
  ASSERT_EQ(ReadFileBytes(Own()).size(), kSettingsFileSize);
  EXPECT_TRUE(std::filesystem::is_directory(base::FsPath(root.File(UserConfig() + "/tessaly"))));
  if (const std::optional<unsigned> bits = testing::PermissionBits(root.File(UserConfig() + "/tessaly"))) {
    EXPECT_EQ(*bits, 0700u);
  }

  // From now on the user's own file is the one read.
  ProgramSettings again;
  ReadSettings(again, LocateSettings(program));
  EXPECT_EQ(again.deviceAddress, 43);
}

TEST(Settings, SettingsFileThatIsNotARegularFileIsNotRead) {
  ScopedSettingsDir dir;
  ASSERT_TRUE(testing::MakeNonRegularFile(dir.SettingsFile()));
  ProgramSettings data;
  ReadSettings(data);  // a pipe without a writer would block the read for ever
  EXPECT_EQ(data.sectorsPerPage, 1024u);
}

}  // namespace
}  // namespace tessaly::settings
