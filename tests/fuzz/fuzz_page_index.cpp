// Opening record files as a set, its pages and their labels, the files each
// page spans, and the search's binary search over sector times. A hang here
// is a finding (libFuzzer's time-out).
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "record/page_index.h"
#include "record/search.h"
#include "recorder/build_page_index.h"
#include "recorder/recorder_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessaly;
  // The last 10 bytes choose the paging, the moment searched and where the
  // rest is cut into up to three files.
  uint8_t tail[10] = {};
  const size_t bytes = size >= sizeof tail ? size - sizeof tail : 0;
  if (size >= sizeof tail) std::memcpy(tail, data + bytes, sizeof tail);
  const size_t parts = 1 + tail[3] / 2 % 3;
  size_t cuts[4] = {0, bytes * tail[8] / 256, bytes * tail[9] / 256, bytes};
  if (cuts[1] > cuts[2]) std::swap(cuts[1], cuts[2]);
  if (parts < 3) cuts[parts] = bytes;
  recorder::CRecorderData recorder;
  for (size_t k = 0; k < parts; ++k) {
    const std::string name = "pages.D0" + std::to_string(k + 1);
    recorder.recordPaths.push_back(fuzz::InputFile(data + cuts[k], cuts[k + 1] - cuts[k], name.c_str()));
  }
  recorder.pageMode = tail[0] % 3;
  recorder.sectorsPerPage = tail[1];
  recorder.pageCount = tail[2];
  recorder.autoPaging = tail[3] & 1;
  if (!recorder::BuildPageIndex(recorder)) return 0;
  const record::RecordSet& set = recorder.recordSet;
  const uint64_t header = set.HeaderSectors();
  const uint64_t dataSectors = set.DataSectors();
  if (set.FileCount() == 0 || set.FileCount() > parts || header + dataSectors != set.SectorCount()) std::abort();
  uint64_t covered = 0;
  for (const record::PageEntry& page : recorder.pages) {
    covered += page.sectorCount;
    const auto [first, last] = set.MembersSpanning(page.firstSector, page.sectorCount);
    if (page.sectorCount > 0 && (first >= last || last > set.FileCount())) std::abort();
  }
  if (covered > dataSectors) std::abort();
  // A moment from the 2000s to the 2100s (OLE days 36526 to 73051) and the
  // ends of every range.
  const double moment = 36526.0 + (tail[4] | tail[5] << 8 | tail[6] << 16) % 36525 + tail[7] / 256.0;
  for (double target : {moment, -1.0e9, 1.0e9, 0.0}) {
    const uint32_t sector = record::FindSector(set, target);
    if (dataSectors > 0 && (sector < header || sector >= header + dataSectors)) std::abort();
  }
  return 0;
}
