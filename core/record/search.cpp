#include "record/search.h"

#include "base/texts.h"
#include "record/page_index.h"
#include "record/sector.h"
#include "settings/recorder_data.h"

namespace tessaly::record {
namespace {

RecordTime MomentOf(const CalendarFields& f) {
  return RecordTime::FromCalendar(f.year, f.month, f.day, f.hour, f.minute, f.second);
}

}  // namespace

uint32_t FindSector(const settings::CRecorderData& data, double target) {
  const uint64_t h = data.headerSectors;
  uint64_t lo = h;
  uint64_t hi = h + data.dataSectors;
  uint64_t mid = h + data.dataSectors / 2;
  for (;;) {
    SectorStart probe = SectorStartTime(data.recordFile, static_cast<uint32_t>(mid));
    // Stepping down stops at lo, which is never probed again: lo is already
    // known not to be later than the target (or is the first data sector),
    // and probing it would send the search back to the same mid for ever.
    while (probe.status != RecordTimeStatus::Valid) {
      if (mid <= lo || --mid == lo) return static_cast<uint32_t>(lo);
      probe = SectorStartTime(data.recordFile, static_cast<uint32_t>(mid));
    }
    if (probe.oleDate <= target) {
      lo = mid;
      mid = (mid + hi) / 2;
    } else {
      hi = mid;
      mid = (mid + lo) / 2;
    }
    if (mid == lo) return static_cast<uint32_t>(lo);
  }
}

bool SearchMomentsReasonable(const settings::CRecorderData& data, const CalendarFields& start,
                             const CalendarFields& stop) {
  const RecordTime from = MomentOf(start);
  const RecordTime to = MomentOf(stop);
  if (from.IsValid() && to.IsValid() && to.ticks > from.ticks) return true;
  data.ShowError(base::Text(base::TextId::SearchTimeUnreasonable, data.language));
  return false;
}

SearchOutcome SearchByTime(settings::CRecorderData& data, const CalendarFields& start, const CalendarFields& stop,
                           bool saveToTree, bool clearTree) {
  SearchOutcome outcome;
  if (clearTree) {
    data.searched.clear();
    data.nextSearchedItemData = SearchedItemBase;
    outcome.cleared = true;
  }
  const RecordTime from = MomentOf(start);
  const RecordTime to = MomentOf(stop);
  if (!data.recordFile.IsOpen() || !from.IsValid() || !to.IsValid()) return outcome;

  const uint32_t first = FindSector(data, from.ToOleDate());
  const uint32_t last = FindSector(data, to.ToOleDate());
  if (first >= last) return outcome;

  outcome.entry = {first, PageLabel(start) + "--" + PageLabel(stop), last - first + 1};
  if (saveToTree) {
    data.searched.push_back(outcome.entry);
    outcome.itemData = data.nextSearchedItemData++;
    outcome.action = SearchAction::Keep;
  } else {
    outcome.action = SearchAction::Load;
  }
  return outcome;
}

}  // namespace tessaly::record
