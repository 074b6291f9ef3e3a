#pragma once
// The binary settings file "记录仪.ini" (1188 bytes), beside the executable
// when the program may write there, else in the user's configuration folder.
#include <string>

#include "settings/program_settings.h"

namespace tessaly::settings {

constexpr size_t kSettingsFileSize = 1188;

// Where the settings are read from and written to.
struct SettingsPlace {
  std::string readPath;
  std::string writePath;
  // Reading creates a missing file only where it is also written; the user's
  // folder is created when the settings are first written.
  bool createOnRead = true;
};

// $TESSALY_SETTINGS_DIR when set; else `programFolder` when the program keeps
// its settings there (a copied-out program, the build folder); else the
// user's folder, still reading the file left beside the program until the
// user's folder has one of its own.
SettingsPlace LocateSettings(const std::string& programFolder);
// The same for this program's own folder.
SettingsPlace LocateSettings();

// Whether a program in `folder` keeps its settings beside itself: the folder
// is writable (one without any write bit counts as read-only even for root)
// and is not the bin folder of an installed tree, which holds the desktop
// entry in ../share/applications.
bool KeepsSettingsBeside(const std::string& folder);

// The user's configuration folder (~/.config, %APPDATA% on Windows) + /tessaly.
std::string UserSettingsFolder();

// Fills the persisted fields from the file, reading as much as it holds, then
// empties the device name and every channel's name and unit and shows every
// channel. Paging and display fields the file does not hold get sound
// defaults (1024 sectors per page with automatic paging, automatic intervals),
// and values outside their tables are corrected, so nothing later divides by
// zero or indexes beyond a table. A missing file is created empty.
void ReadSettings(ProgramSettings& data, const SettingsPlace& place = LocateSettings());

// Writes all persisted fields; on failure shows "文件打开失败" / "Failed to
// open file" and the previous file stays as it was. Returns success.
bool WriteSettings(ProgramSettings& data, const SettingsPlace& place = LocateSettings());

// The defaults ReadSettings starts from.
void ApplyDefaultSettings(ProgramSettings& data);

}  // namespace tessaly::settings
