#pragma once
// The viewer's workbook export: every k-th sample of the SampleBuffer as an
// OOXML workbook, every cell a text, the cells the spreadsheet exporter of the
// recorder software writes.
#include <cstdint>
#include <string>

#include "output/export.h"
#include "record/sample.h"
#include "settings/channel_info.h"

namespace tessaly::output {

// Row 1: "序号" / "Index", "时间" / "Time", then the names of the shown
// channels in columns 3 to 20 (a hidden channel leaves its column empty).
// Row i + 2: i x interval, the sample's time "%4.4d-%2.2d-%2.2d %2.2d-%2.2d-%2.2d",
// the shown channels' values "%.*f" with their decimals. An interval of 0
// counts as 1; samples after the last whole block of `interval` are left
// out. The workbook is written beside `path` and renamed onto it when
// complete; rows stream to disk, so memory does not grow with the rows.
ExportResult WriteViewerWorkbookFile(const std::string& path, const record::SampleBuffer& samples,
                                     const settings::DisplaySettings& display, uint32_t interval, int language,
                                     const ExportProgress& progress = {});

}  // namespace tessaly::output
