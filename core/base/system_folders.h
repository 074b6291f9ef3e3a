#pragma once
// The folders the system names: the user's home, the running program's, and
// fresh temporary ones.
#include <string>

namespace tessaly::base {

// $HOME, else the account's entry, else "/" (on Windows: %USERPROFILE%, else
// the profile folder the system reports, else %APPDATA%'s parent).
std::string HomeFolder();

// Where programs keep the user's settings: $XDG_CONFIG_HOME when it is an
// absolute path, else ~/.config (on Windows: %APPDATA%, else the home's
// AppData/Roaming).
std::string UserConfigFolder();

// The folder of the running executable, "." when it cannot be told.
std::string ExecutableFolder();

// Makes a new folder only this user may enter under $TMPDIR, else /tmp (on
// Windows the user's temporary folder); its path, empty when none was made.
std::string NewTemporaryFolder();

}  // namespace tessaly::base
