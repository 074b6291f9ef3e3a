#include "record/page_index.h"

#include <algorithm>

#include "base/format.h"
#include "base/texts.h"
#include "record/page_loader.h"
#include "record/record_header.h"
#include "record/sector.h"
#include "settings/recorder_data.h"

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

void LabelPages(const RecordFile& file, std::vector<PageEntry>& pages) {
  unsigned char sector[kSectorSize];
  std::string previous;
  for (PageEntry& page : pages) {
    RecordTime start;
    if (FindCalendarValidSector(file, page.firstSector, sector) && SectorCalendarValid(sector, &start))
      previous = PageLabel(start.Fields());
    page.label = previous;
  }
}

bool BuildPageIndex(settings::CRecorderData& data) {
  if (RefuseWhileLoading(data)) return false;
  data.pages.clear();
  data.recordFile.Close();
  data.headerSectors = 0;
  data.dataSectors = 0;
  const char* openFailed = base::Text(base::TextId::FileOpenFailed, data.language);
  if (!data.recordFile.Open(data.recordPath)) {
    data.ShowError(openFailed);
    return false;
  }
  ReadRecordHeader(data.recordFile, data);

  unsigned char first[kSectorSize];
  if (!FindCalendarValidSector(data.recordFile, data.headerSectors, first)) {
    data.ShowError(openFailed);
    return false;
  }
  data.SetRecordedChannels(first[9]);

  const uint32_t sectors = data.recordFile.SectorCount();
  data.dataSectors = sectors - std::min(sectors, data.headerSectors);
  if (data.autoPaging == 1) {
    data.pageMode = 0;
    data.sectorsPerPage = kAutoSectorsPerPage;
  }
  data.pages = FormPages(data.headerSectors, data.dataSectors, data.pageMode, data.sectorsPerPage, data.pageCount);
  LabelPages(data.recordFile, data.pages);
  return true;
}

}  // namespace tessaly::record
