// The install tree as `cmake --install` lays it out under a fresh prefix: the
// files a desktop expects, both validators, the file types as the desktop's
// MIME database sees them, and the installed program's settings place.
#include <sys/stat.h>

#include <QImage>
#include <QMimeDatabase>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "record_writer.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace tessaly::testing {
namespace {

namespace fs = std::filesystem;

const std::string kId = TESSALY_APP_ID;

class InstallTree : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    prefix_ = new TempDir;
    const ProcessResult installed =
        RunProcess({TESSALY_CMAKE, "--install", TESSALY_BUILD_ROOT, "--prefix", prefix_->path().string()});
    ASSERT_EQ(installed.exitCode, 0) << installed.out << installed.err;
  }
  static void TearDownTestSuite() {
    delete prefix_;
    prefix_ = nullptr;
  }
  static std::string Installed(const std::string& relative) { return prefix_->File(relative); }

  static TempDir* prefix_;
};

TempDir* InstallTree::prefix_ = nullptr;

TEST_F(InstallTree, HoldsTheProgramsAndTheDesktopFiles) {
  for (const char* program : {"bin/tessaly", "bin/tessaly-cli", "bin/tessaly-sim"}) {
    struct stat st {};
    ASSERT_EQ(::stat(Installed(program).c_str(), &st), 0) << program;
    EXPECT_TRUE(S_ISREG(st.st_mode) && (st.st_mode & 0111) == 0111) << program;
  }
  const std::string entry = ReadFileBytes(Installed("share/applications/" + kId + ".desktop"));
  for (const char* line :
       {"\nExec=tessaly %F\n", "\nCategories=Science;Engineering;\n", "\nIcon=" TESSALY_APP_ID "\n", "\nName[zh_CN]=",
        "\nComment[zh_CN]=", "\nComment=", "\nMimeType=application/x-tessaly-record;application/x-tessaly-data;\n"})
    EXPECT_NE(entry.find(line), std::string::npos) << line;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    const std::string icon =
        Installed("share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps/" + kId + ".png");
    const QImage image(QString::fromStdString(icon));
    EXPECT_EQ(image.size(), QSize(size, size)) << icon;
  }
  EXPECT_TRUE(fs::is_regular_file(Installed("share/mime/packages/" + kId + ".xml")));
}

TEST_F(InstallTree, EveryInstalledProgramTellsItsVersion) {
  for (const std::string program : {"tessaly", "tessaly-cli", "tessaly-sim"}) {
    const ProcessResult version = RunProcess({Installed("bin/" + program), "--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, program + " " TESSALY_VERSION "\n");
  }
}

TEST_F(InstallTree, PassesTheDesktopEntryAndMetainfoValidators) {
  const ProcessResult desktop =
      RunProcess({"/usr/bin/desktop-file-validate", Installed("share/applications/" + kId + ".desktop")});
  EXPECT_EQ(desktop.exitCode, 0);
  EXPECT_EQ(desktop.out + desktop.err, "");  // not even a warning
  const ProcessResult metainfo = RunProcess(
      {"/usr/bin/appstreamcli", "validate", "--no-net", Installed("share/metainfo/" + kId + ".metainfo.xml")});
  EXPECT_EQ(metainfo.exitCode, 0) << metainfo.out << metainfo.err;
}

TEST_F(InstallTree, RecordAndDataFilesAreKnownByNameInAnyCase) {
  const ProcessResult updated = RunProcess({"/usr/bin/update-mime-database", Installed("share/mime")});
  ASSERT_EQ(updated.exitCode, 0) << updated.err;
  // The database of this prefix alone, as the desktop would read it.
  TempDir userData;
  ScopedEnv dataDirs("XDG_DATA_DIRS", Installed("share").c_str());
  ScopedEnv dataHome("XDG_DATA_HOME", userData.path().c_str());
  const QMimeDatabase db;
  const struct {
    const char* name;
    const char* type;
  } cases[] = {
      {"a.D01", "application/x-tessaly-record"},
      {"a.d07", "application/x-tessaly-record"},
      {"a.D42", "application/x-tessaly-record"},
      {"a.D99", "application/x-tessaly-record"},
      {"a.DT", "application/x-tessaly-data"},
      {"a.dt", "application/x-tessaly-data"},
      {"a.D00", ""},
      {"a.D100", ""},
  };
  for (const auto& c : cases) {
    const QString type = db.mimeTypeForFile(QString::fromLatin1(c.name), QMimeDatabase::MatchExtension).name();
    EXPECT_EQ(type.startsWith(QLatin1String("application/x-tessaly")) ? type.toStdString() : "", c.type) << c.name;
  }
}

// Where the installed program keeps its settings, and a copy taken out of the
// tree keeps them beside itself.
TEST_F(InstallTree, InstalledProgramKeepsItsSettingsInTheUsersFolder) {
  TempDir home;
  const std::string record = home.File("demo.D01");
  ASSERT_TRUE(sim::WriteRecordFile(record, sim::RecordSpec{}));
  fs::create_directories(home.path() / "portable");
  fs::copy_file(Installed("bin/tessaly"), home.path() / "portable/tessaly");
  ScopedEnv noOverride("TESSALY_SETTINGS_DIR", nullptr);
  ScopedEnv noXdg("XDG_CONFIG_HOME", nullptr);
  ScopedEnv homeEnv("HOME", home.path().c_str());
  ScopedEnv offscreen("QT_QPA_PLATFORM", "offscreen");
  ScopedEnv closeWhenShown("TESSALY_SCREENSHOT", home.File("shot.png").c_str());

  const ProcessResult installed = RunProcess({Installed("bin/tessaly"), record});
  ASSERT_EQ(installed.exitCode, 0) << installed.err;
  EXPECT_EQ(fs::file_size(home.File(".config/tessaly/记录仪.ini")), 1188u);
  EXPECT_FALSE(fs::exists(Installed("bin/记录仪.ini")));

  fs::remove_all(home.path() / ".config");
  const ProcessResult copied = RunProcess({home.File("portable/tessaly"), record});
  ASSERT_EQ(copied.exitCode, 0) << copied.err;
  EXPECT_EQ(fs::file_size(home.File("portable/记录仪.ini")), 1188u);
  EXPECT_FALSE(fs::exists(home.path() / ".config"));
}

}  // namespace
}  // namespace tessaly::testing
