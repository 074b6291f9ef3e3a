#pragma once
// Search by time: the sector range that covers two moments, kept in the
// page tree or loaded at once.
#include <cstdint>

#include "record/page_entry.h"
#include "record/record_time.h"

namespace tessaly::recorder {

struct CRecorderData;

// The dialog's check on OK: false, after showing "时间设置不合理" (in both
// languages), when the stop moment is not later than the start moment.
// Only year to second of the fields count.
bool SearchMomentsReasonable(const CRecorderData& data, const record::CalendarFields& start,
                             const record::CalendarFields& stop);

enum class SearchAction {
  Nothing,  // same sector, both outside the data, or no record set: nothing happens
  Keep,     // `entry` was appended to `searched`; add a tree item with `itemData`
  Load,     // load `entry`'s range now through StartPageLoad
};

struct SearchOutcome {
  SearchAction action = SearchAction::Nothing;
  record::PageEntry entry;  // the range, labelled "start--stop"
  int32_t itemData = 0;     // Keep: the new tree item's data
  bool cleared = false;     // `searched` was emptied: replace the searched root
};

// The search after the dialog's OK. With `clearTree`, `searched` is emptied
// and `nextSearchedItemData` set back to SearchedItemBase first; with
// `saveToTree`, a found range is kept (and the counter advanced) instead of
// loaded.
SearchOutcome SearchByTime(CRecorderData& data, const record::CalendarFields& start, const record::CalendarFields& stop,
                           bool saveToTree, bool clearTree);

}  // namespace tessaly::recorder
