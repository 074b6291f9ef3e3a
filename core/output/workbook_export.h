#pragma once
// The viewer's workbook export: every k-th sample of the SampleBuffer as an
// OOXML workbook, every cell a text, the cells the spreadsheet exporter of the
// recorder software writes.
#include <cstdint>
#include <functional>
#include <string>

namespace tessaly::settings {
struct CRecorderData;
}

namespace tessaly::output {

// Step i of n rows done (i = 0, n - 1 and multiples of 100).
using ExportProgress = std::function<void(uint32_t step, uint32_t steps)>;

enum class ExportStatus {
  Written,     // the file is in place
  Empty,       // no samples: nothing written, nothing to say
  OpenFailed,  // the target cannot be created: "文件打开失败"
  WriteFailed, // the workbook could not be written whole; the target is as it was
};

// Row 1: "序号" / "Index", "时间" / "Time", then the names of the shown
// channels in columns 3 to 20 (a hidden channel leaves its column empty).
// Row i + 2: i x interval, the sample's time "%4.4d-%2.2d-%2.2d %2.2d-%2.2d-%2.2d",
// the shown channels' values "%.*f" with their decimals. `interval` below 1
// counts as 1; trailing samples short of a full interval are left out. The
// workbook is written beside `path` and renamed onto it when complete; rows
// stream to disk, so memory does not grow with the sample count.
ExportStatus ExportWorkbook(const settings::CRecorderData& data, int32_t interval, const std::string& path,
                            const ExportProgress& progress);

}  // namespace tessaly::output
