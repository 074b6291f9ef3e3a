#pragma once
// The real-time exports of a page's record store: one row per record, in
// store order, "序号" and "时间" in Chinese in both languages, the channels
// whose chart series is not shown left empty, every value "%f".
//   CSV: "序号,时间" and the 18 channels (names only of the shown ones), GBK
//        text, CR LF line ends, no quoting.
//   Workbook: row 1 the headings, row i + 2 record i; a hidden channel's
//        column stays empty, the others do not move.
// The store is read one record at a time under its lock, and its count is
// taken again after every row, so the worker may append to it or empty it
// meanwhile; progress keeps the count of the start. Nothing is written for
// an empty store; an unwritable file leaves what was at `path` untouched.
#include <array>
#include <functional>
#include <string>

#include "output/export.h"
#include "realtime/realtime_record.h"

namespace tessaly::realtime {
class RecordStore;
}

namespace tessaly::output {

struct RealtimeColumns {
  std::array<std::string, realtime::kRecordChannels> names;  // UTF-8
  // Whether channel i's series is shown; asked again for every row.
  std::function<bool(int channel)> active;
};

ExportResult ExportRealtimeCsv(const std::string& path, const realtime::RecordStore& store,
                               const RealtimeColumns& columns, const ExportProgress& progress = {});

ExportResult WriteRealtimeWorkbookFile(const std::string& path, const realtime::RecordStore& store,
                                       const RealtimeColumns& columns, const ExportProgress& progress = {});

}  // namespace tessaly::output
