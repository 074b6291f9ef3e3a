#pragma once
#include <array>

namespace tessaly::settings {

constexpr int kUnitCount = 66;

// The fixed, ordered unit texts (UTF-8) that `unitIndex` selects.
extern const std::array<const char*, kUnitCount> kUnitTable;

}  // namespace tessaly::settings
