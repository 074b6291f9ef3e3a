#include "record/page_index.h"

#include "base/format.h"
#include "record/sector.h"

namespace tessaly::record {

std::vector<PageEntry> FormPages(uint32_t headerSectors, uint32_t dataSectors, int32_t pageMode,
                                 uint32_t sectorsPerPage, uint32_t pageCount) {
  uint32_t perPage = 0;
  if (pageMode == 1 && pageCount != 0) perPage = dataSectors / pageCount;
  if (pageMode == 0 || (pageMode == 1 && perPage == 0))
    perPage = sectorsPerPage != 0 ? sectorsPerPage : kAutoSectorsPerPage;
  std::vector<PageEntry> pages;
  if (perPage == 0) return pages;  // an unknown mode

  const uint32_t full = dataSectors / perPage;
  pages.reserve(full + 1);
  for (uint32_t k = 0; k < full; ++k) pages.push_back({headerSectors + k * perPage, {}, perPage});
  if (full * perPage < dataSectors) pages.push_back({headerSectors + full * perPage, {}, dataSectors - full * perPage});
  return pages;
}

std::string PageLabel(const CalendarFields& f) {
  return base::Format("%4.4d_%2.2d_%2.2d %2.2d:%2.2d:%2.2d", f.year, f.month, f.day, f.hour, f.minute, f.second);
}

void LabelPages(const SectorSource& source, std::vector<PageEntry>& pages) {
  // One read per page, scattered over the whole record: asked for all at
  // once, a cold disk serves them together.
  for (const PageEntry& page : pages) source.Prefetch(uint64_t{page.firstSector} * kSectorSize, kSectorSize);
  unsigned char sector[kSectorSize];
  std::string previous;
  for (PageEntry& page : pages) {
    RecordTime start;
    if (FindCalendarValidSector(source, page.firstSector, sector) && SectorCalendarValid(sector, &start))
      previous = PageLabel(start.Fields());
    page.label = previous;
  }
}

}  // namespace tessaly::record
