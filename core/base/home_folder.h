#pragma once
// The user's home folder: $HOME, else the account's entry, else "/".
#include <string>

namespace tessaly::base {

std::string HomeFolder();

}  // namespace tessaly::base
