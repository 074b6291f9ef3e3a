#include "base/local_time.h"

namespace tessaly::base {

bool LocalCalendar(std::time_t moment, std::tm& fields) { return ::localtime_r(&moment, &fields) != nullptr; }

bool UtcCalendar(std::time_t moment, std::tm& fields) { return ::gmtime_r(&moment, &fields) != nullptr; }

}  // namespace tessaly::base
