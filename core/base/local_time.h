#pragma once
// The calendar fields of a moment, thread-safe on every platform.
#include <ctime>

namespace tessaly::base {

// False when the moment has no calendar fields (out of the platform's range).
bool LocalCalendar(std::time_t moment, std::tm& fields);
bool UtcCalendar(std::time_t moment, std::tm& fields);

}  // namespace tessaly::base
