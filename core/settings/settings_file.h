#pragma once
// The binary settings file "记录仪.ini" (1188 bytes) beside the executable.
#include <string>

#include "settings/recorder_data.h"

namespace tessaly::settings {

constexpr size_t kSettingsFileSize = 1188;

// The folder of the executable, or $TESSALY_SETTINGS_DIR when set.
std::string SettingsFolder();
std::string SettingsPath();

// Fills the persisted fields from the file, reading as much as it holds, then
// empties the device name and every channel's name and unit and shows every
// channel. Paging and display fields the file does not hold get sound
// defaults (1024 sectors per page with automatic paging, automatic intervals),
// and values outside their tables are corrected, so nothing later divides by
// zero or indexes beyond a table. A missing file is created empty.
void ReadSettings(CRecorderData& data);

// Writes all persisted fields; on failure shows "文件打开失败" / "Failed to
// open file" and the previous file stays as it was. Returns success.
bool WriteSettings(CRecorderData& data);

// The defaults ReadSettings starts from.
void ApplyDefaultSettings(CRecorderData& data);

}  // namespace tessaly::settings
