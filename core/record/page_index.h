#pragma once
// Opening a record file and dividing its data sectors into labelled pages.
#include <cstdint>
#include <string>
#include <vector>

#include "record/page_entry.h"
#include "record/record_file.h"
#include "record/record_time.h"

namespace tessaly::settings {
struct CRecorderData;
}

namespace tessaly::record {

// What automatic paging sets, and what stands in for a stored 0 (which would
// divide by zero).
constexpr uint32_t kAutoSectorsPerPage = 1024;

// Closes the previous file, opens `data.recordPath` exclusively, reads the
// header, hides the channels the file does not record and builds
// `data.pages`. On failure it has already shown "文件打开失败" / "Failed to
// open file" through `data.messages` and returns false. While a load runs
// (`idle` 0) it changes nothing, shows the busy message and returns false.
bool BuildPageIndex(settings::CRecorderData& data);

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
// the file fail), by PageLabel; a page without one
// takes the label of the page before it (empty for the first).
void LabelPages(const RecordFile& file, std::vector<PageEntry>& pages);

}  // namespace tessaly::record
