#include "recorder/search_by_time.h"

#include "base/texts.h"
#include "record/page_index.h"
#include "record/search.h"
#include "recorder/recorder_data.h"

namespace tessaly::recorder {
namespace {

record::RecordTime MomentOf(const record::CalendarFields& f) {
  return record::RecordTime::FromCalendar(f.year, f.month, f.day, f.hour, f.minute, f.second);
}

}  // namespace

bool SearchMomentsReasonable(const CRecorderData& data, const record::CalendarFields& start,
                             const record::CalendarFields& stop) {
  const record::RecordTime from = MomentOf(start);
  const record::RecordTime to = MomentOf(stop);
  if (from.IsValid() && to.IsValid() && to.ticks > from.ticks) return true;
  data.ShowError(base::Text(base::TextId::SearchTimeUnreasonable, data.language));
  return false;
}

SearchOutcome SearchByTime(CRecorderData& data, const record::CalendarFields& start, const record::CalendarFields& stop,
                           bool saveToTree, bool clearTree) {
  SearchOutcome outcome;
  if (clearTree) {
    data.searched.clear();
    data.nextSearchedItemData = record::SearchedItemBase;
    outcome.cleared = true;
  }
  const record::RecordTime from = MomentOf(start);
  const record::RecordTime to = MomentOf(stop);
  if (!data.recordSet.IsOpen() || !from.IsValid() || !to.IsValid()) return outcome;

  const uint32_t first = record::FindSector(data.recordSet, from.ToOleDate());
  const uint32_t last = record::FindSector(data.recordSet, to.ToOleDate());
  if (first >= last) return outcome;

  outcome.entry = {first, record::PageLabel(start) + "--" + record::PageLabel(stop), last - first + 1};
  if (saveToTree) {
    data.searched.push_back(outcome.entry);
    outcome.itemData = data.nextSearchedItemData++;
    outcome.action = SearchAction::Keep;
  } else {
    outcome.action = SearchAction::Load;
  }
  return outcome;
}

}  // namespace tessaly::recorder
