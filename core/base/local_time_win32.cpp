#include "base/local_time.h"

namespace tessaly::base {

bool LocalCalendar(std::time_t moment, std::tm& fields) { return ::localtime_s(&fields, &moment) == 0; }

bool UtcCalendar(std::time_t moment, std::tm& fields) { return ::gmtime_s(&fields, &moment) == 0; }

}  // namespace tessaly::base
