#pragma once
// The record viewer's CSV export of the SampleBuffer: GBK text, CR LF line
// ends, no byte-order mark, no quoting. A heading ("序号,时间" / "Index,Time"
// and all 18 channel names, shown or not), then one row per `interval`
// samples: row i holds sample i x interval, its index, its time with hyphens
// ("%4.4d-%2.2d-%2.2d %2.2d-%2.2d-%2.2d", -1 fields for a time that is not
// valid) and ",%.*f" of every channel with the sample's decimals. Samples
// after the last whole block of `interval` are not written.
#include <cstdint>
#include <cstdio>
#include <string>

#include "output/export.h"
#include "record/sample.h"
#include "settings/channel_info.h"

namespace tessaly::output {

// Streams the export to `out` and flushes it; false when a write fails. An
// empty buffer writes nothing. An interval of 0 counts as 1.
bool WriteViewerCsv(std::FILE* out, const record::SampleBuffer& samples, const settings::DisplaySettings& display,
                    uint32_t interval, int language, const ExportProgress& progress = {});

// The same into the file `path`, written under a temporary name and renamed
// into place when complete: on any failure the target is left as it was.
ExportResult WriteViewerCsvFile(const std::string& path, const record::SampleBuffer& samples,
                                const settings::DisplaySettings& display, uint32_t interval, int language,
                                const ExportProgress& progress = {});

}  // namespace tessaly::output
