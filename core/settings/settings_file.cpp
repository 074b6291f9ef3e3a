#include "settings/settings_file.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "base/atomic_file.h"
#include "base/fs_path.h"
#include "base/regular_file.h"
#include "base/system_folders.h"
#include "base/texts.h"
#include "settings/unit_table.h"

namespace tessaly::settings {
namespace {

static_assert(std::endian::native == std::endian::little, "the settings file is the little-endian image of the fields");

constexpr const char* kSettingsName = "记录仪.ini";

// Distinct line colours (0x00BBGGRR) for a first start.
constexpr uint32_t kDefaultColors[kChannels] = {
    0x0000FF, 0x00A000, 0xFF0000, 0x00A0FF, 0xA000A0, 0xA0A000, 0x0060C0, 0x808000, 0x4040FF,
    0x40C040, 0xC04040, 0x008080, 0x800080, 0x404080, 0x208020, 0x802020, 0x606060, 0x2080FF,
};

// The file is the raw little-endian image of the fields at fixed offsets.
constexpr size_t kPagingOffset = 0;
constexpr size_t kDisplayOffset = 16;
constexpr size_t kSerialOffset = kDisplayOffset + sizeof(DisplaySettings);
constexpr size_t kLanguageOffset = kSerialOffset + 20;
constexpr size_t kAutoRangeOffset = kLanguageOffset + 4;
static_assert(kSerialOffset == 1160 && kAutoRangeOffset + 4 == kSettingsFileSize);

using Image = unsigned char[kSettingsFileSize];

void ToImage(const ProgramSettings& data, Image image) {
  const int32_t paging[4] = {data.pageMode, static_cast<int32_t>(data.sectorsPerPage),
                             static_cast<int32_t>(data.pageCount), data.autoPaging};
  const int32_t serial[5] = {data.comPort, data.baudIndex, data.parityIndex, data.deviceAddress, data.pollIntervalMs};
  std::memcpy(image + kPagingOffset, paging, sizeof paging);
  // The file keeps the user's shown choice, not what the open file allows.
  DisplaySettings display = data.Display();
  for (int k = 0; k < kChannels; ++k) display.channels[k].shown = data.UserShown(k);
  std::memcpy(image + kDisplayOffset, &display, sizeof display);
  std::memcpy(image + kSerialOffset, serial, sizeof serial);
  std::memcpy(image + kLanguageOffset, &data.language, 4);
  std::memcpy(image + kAutoRangeOffset, &data.autoRange, 4);
}

void FromImage(const Image image, ProgramSettings& data) {
  int32_t paging[4];
  int32_t serial[5];
  std::memcpy(paging, image + kPagingOffset, sizeof paging);
  std::memcpy(&data.Display(), image + kDisplayOffset, sizeof(DisplaySettings));
  std::memcpy(serial, image + kSerialOffset, sizeof serial);
  std::memcpy(&data.language, image + kLanguageOffset, 4);
  std::memcpy(&data.autoRange, image + kAutoRangeOffset, 4);
  data.pageMode = paging[0];
  data.sectorsPerPage = static_cast<uint32_t>(paging[1]);
  data.pageCount = static_cast<uint32_t>(paging[2]);
  data.autoPaging = paging[3];
  data.comPort = serial[0];
  data.baudIndex = serial[1];
  data.parityIndex = serial[2];
  data.deviceAddress = serial[3];
  data.pollIntervalMs = serial[4];
}

int32_t Clamp(int32_t v, int32_t lo, int32_t hi, int32_t fallback) { return v < lo || v > hi ? fallback : v; }

void CorrectRanges(ProgramSettings& data) {
  for (ChannelInfo& ch : data.channels) {
    ch.lineWidth = std::clamp(ch.lineWidth, 1, 4);
    ch.unitIndex = Clamp(ch.unitIndex, 0, kUnitCount - 1, 0);
  }
  data.baudIndex = Clamp(data.baudIndex, 0, 4, 2);
  data.parityIndex = Clamp(data.parityIndex, 0, 2, 0);
  data.deviceAddress = std::clamp(data.deviceAddress, 0, 99);
  data.pollIntervalMs = std::max(data.pollIntervalMs, 0);
}

// Creates `folder` and its missing parents, private to the user as the
// configuration folders are; true when it exists afterwards.
bool MakeFolders(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (fs::create_directory(base::FsPath(part), error))
      fs::permissions(base::FsPath(part), fs::perms::owner_all, error);
    if (slash == std::string::npos) break;
  }
  return fs::is_directory(base::FsPath(folder), error);
}

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(base::FsPath(path), error);
}

}  // namespace

SettingsPlace LocateSettings(const std::string& programFolder) {
  if (const char* dir = std::getenv("TESSALY_SETTINGS_DIR"); dir && *dir) {
    const std::string path = std::string(dir) + "/" + kSettingsName;
    return {path, path, true};
  }
  const std::string beside = programFolder + "/" + kSettingsName;
  if (KeepsSettingsBeside(programFolder)) return {beside, beside, true};
  const std::string own = UserSettingsFolder() + "/" + kSettingsName;
  return {Exists(own) || !Exists(beside) ? own : beside, own, false};
}

SettingsPlace LocateSettings() { return LocateSettings(base::ExecutableFolder()); }

bool KeepsSettingsBeside(const std::string& folder) {
  std::error_code error;
  if (!std::filesystem::is_directory(base::FsPath(folder), error) || !base::IsWritable(folder)) return false;
  return !Exists(folder + "/../share/applications/" TESSALY_APP_ID ".desktop");
}

std::string UserSettingsFolder() { return base::UserConfigFolder() + "/tessaly"; }

void ApplyDefaultSettings(ProgramSettings& data) {
  data.pageMode = 0;
  data.sectorsPerPage = 1024;
  data.pageCount = 10;
  data.autoPaging = 1;

  DisplaySettings& d = data.Display();
  d = DisplaySettings{};
  d.yAxisMode = 1;
  d.yRangeMin = 0.0f;
  d.yRangeMax = 100.0f;
  d.showGrid = 1;
  d.gridColor = 0xC0C0C0;
  d.backColor = 0xFFFFFF;
  for (int i = 0; i < kChannels; ++i) {
    ChannelInfo& ch = d.channels[i];
    ch.color = kDefaultColors[i];
    ch.lineWidth = 1;
    ch.shown = 1;
    ch.rangeLow = 0.0f;
    ch.rangeHigh = 100.0f;
  }
  d.allGraphInterval = 1;
  d.partGraphInterval = 1;
  d.listInterval = 1;
  d.autoInterval = 1;
  d.showCursor = 1;
}

void ReadSettings(ProgramSettings& data, const SettingsPlace& place) {
  ApplyDefaultSettings(data);
  // Created empty when missing; an existing file is not truncated, and
  // anything but a regular file (a pipe or a device would never end) leaves
  // the defaults.
  uint64_t size = 0;
  const int fd = base::OpenRegularFile(
      place.readPath, place.createOnRead ? base::FileAccess::kReadCreate : base::FileAccess::kRead, size);
  if (fd >= 0) {
    // The reads in field order, each taking what the file still holds, come
    // to reading the file's prefix over the image of the current values.
    Image image;
    ToImage(data, image);
    base::ReadFully(fd, image, kSettingsFileSize);
    base::CloseFile(fd);
    FromImage(image, data);
  }
  CorrectRanges(data);
  std::memset(data.deviceName, 0, sizeof data.deviceName);
  for (int k = 0; k < kChannels; ++k) {
    data.SetUserShown(k, 1);
    std::memset(data.channels[k].name, 0, sizeof data.channels[k].name);
    std::memset(data.channels[k].unit, 0, sizeof data.channels[k].unit);
  }
}

bool WriteSettings(ProgramSettings& data, const SettingsPlace& place) {
  Image image;
  ToImage(data, image);
  base::AtomicFile file;
  const bool ok = (place.createOnRead || MakeFolders(place.writePath.substr(0, place.writePath.rfind('/')))) &&
                  file.Open(place.writePath) && file.Write(image, sizeof image) && file.Commit();
  if (!ok) data.ShowError(base::Text(base::TextId::FileOpenFailed, data.language));
  return ok;
}

}  // namespace tessaly::settings
