// Opening a record file, its pages and their labels, and the search's binary
// search over sector times. A hang here is a finding (libFuzzer's time-out).
#include <cstdlib>
#include <cstring>

#include "fuzz_input.h"
#include "record/page_index.h"
#include "record/search.h"
#include "recorder/build_page_index.h"
#include "recorder/recorder_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessaly;
  // The last 8 bytes choose the paging and the moment searched; the rest is the file.
  uint8_t tail[8] = {};
  const size_t fileSize = size >= sizeof tail ? size - sizeof tail : 0;
  if (size >= sizeof tail) std::memcpy(tail, data + fileSize, sizeof tail);
  recorder::CRecorderData recorder;
  recorder.recordPaths = {fuzz::InputFile(data, fileSize, "pages.D01")};
  recorder.pageMode = tail[0] % 3;
  recorder.sectorsPerPage = tail[1];
  recorder.pageCount = tail[2];
  recorder.autoPaging = tail[3] & 1;
  if (!recorder::BuildPageIndex(recorder)) return 0;
  uint64_t covered = 0;
  for (const record::PageEntry& page : recorder.pages) covered += page.sectorCount;
  if (covered > recorder.dataSectors) std::abort();
  // A moment from the 2000s to the 2100s (OLE days 36526 to 73051) and the
  // ends of every range.
  const double moment = 36526.0 + (tail[4] | tail[5] << 8 | tail[6] << 16) % 36525 + tail[7] / 256.0;
  for (double target : {moment, -1.0e9, 1.0e9, 0.0}) {
    const uint32_t sector = record::FindSector(recorder, target);
    if (recorder.dataSectors > 0 &&
        (sector < recorder.headerSectors || sector >= recorder.headerSectors + recorder.dataSectors))
      std::abort();
  }
  return 0;
}
