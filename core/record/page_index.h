#pragma once
// Dividing the data sectors of a record file or set into labelled pages.
#include <cstdint>
#include <string>
#include <vector>

#include "record/page_entry.h"
#include "record/record_time.h"
#include "record/sector_source.h"

namespace tessaly::record {

// What automatic paging sets, and what stands in for a stored 0 (which would
// divide by zero).
constexpr uint32_t kAutoSectorsPerPage = 1024;

// The pages of `dataSectors` data sectors after `headerSectors`, labels
// empty. Mode 0: `sectorsPerPage` each (0 counts as kAutoSectorsPerPage);
// mode 1: `pageCount` pages of dataSectors / pageCount sectors, falling back
// to mode 0 when that is 0 (a pageCount of 0 does the same); any other mode:
// no pages. A remainder forms one more, shorter page.
std::vector<PageEntry> FormPages(uint32_t headerSectors, uint32_t dataSectors, int32_t pageMode,
                                 uint32_t sectorsPerPage, uint32_t pageCount);

// "%4.4d_%2.2d_%2.2d %2.2d:%2.2d:%2.2d" of year, month, day, hour, minute and
// second: the label of a page and of each end of a kept search.
std::string PageLabel(const CalendarFields& f);

// Labels every page with the start time of the first calendar-valid sector
// among its first 50 (the look-ahead may run past the page; sectors beyond
// the source fail), by PageLabel; a page without one
// takes the label of the page before it (empty for the first).
void LabelPages(const SectorSource& source, std::vector<PageEntry>& pages);

}  // namespace tessaly::record
