#pragma once
// The real-time CSV: one line per record of the store, "序号,时间" and the 18
// channels, the channels whose chart series is not shown left empty; GBK
// text, CR LF line ends, no quoting.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "output/export.h"
#include "realtime/realtime_record.h"

namespace tessaly::output {

struct RealtimeCsvColumns {
  std::array<std::string, realtime::kRecordChannels> names;  // UTF-8
  // Whether channel i's series is shown; asked again for every line.
  std::function<bool(int channel)> active;
};

// Writes `records` (for the store, its Snapshot, so the worker may go on
// meanwhile), reporting progress after line i. Nothing is written without
// records; an unwritable file leaves what was at `path` untouched.
ExportResult ExportRealtimeCsv(const std::string& path, const std::vector<realtime::RealtimeRecord>& records,
                               const RealtimeCsvColumns& columns, const ExportProgress& progress = {});

}  // namespace tessaly::output
