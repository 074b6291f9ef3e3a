#pragma once
// Search by time: the sector range that covers two moments, found by binary
// search over the start times of the data sectors.
#include <cstdint>

#include "record/page_entry.h"
#include "record/record_time.h"

namespace tessaly::settings {
struct CRecorderData;
}

namespace tessaly::record {

// The last data sector whose start time is not later than `target` (an OLE
// automation date), or the first data sector when the target lies before
// them all. A sector that fails SectorCalendarValid is stepped over
// downwards; when the probe reaches the lower bound still failing, that
// bound is the result.
uint32_t FindSector(const settings::CRecorderData& data, double target);

// The dialog's check on OK: false, after showing "时间设置不合理" (in both
// languages), when the stop moment is not later than the start moment.
// Only year to second of the fields count.
bool SearchMomentsReasonable(const settings::CRecorderData& data, const CalendarFields& start,
                             const CalendarFields& stop);

enum class SearchAction {
  Nothing,  // same sector, both outside the data, or no file: nothing happens
  Keep,     // `entry` was appended to `searched`; add a tree item with `itemData`
  Load,     // load `entry`'s range now through StartPageLoad
};

struct SearchOutcome {
  SearchAction action = SearchAction::Nothing;
  PageEntry entry;       // the range, labelled "start--stop"
  int32_t itemData = 0;  // Keep: the new tree item's data
  bool cleared = false;  // `searched` was emptied: replace the searched root
};

// The search after the dialog's OK. With `clearTree`, `searched` is emptied
// and `nextSearchedItemData` set back to SearchedItemBase first; with
// `saveToTree`, a found range is kept (and the counter advanced) instead of
// loaded.
SearchOutcome SearchByTime(settings::CRecorderData& data, const CalendarFields& start, const CalendarFields& stop,
                           bool saveToTree, bool clearTree);

}  // namespace tessaly::record
