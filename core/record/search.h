#pragma once
// Search by time: the sector that begins a moment, found by binary search
// over the start times of the data sectors of a record set.
#include <cstdint>

#include "record/record_set.h"

namespace tessaly::record {

// The last data sector whose start time is not later than `target` (an OLE
// automation date), or the first data sector when the target lies before
// them all. A sector that fails SectorCalendarValid is stepped over
// downwards; when the probe reaches the lower bound still failing, that
// bound is the result.
uint32_t FindSector(const RecordSet& set, double target);

}  // namespace tessaly::record
