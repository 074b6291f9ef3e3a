#pragma once
// What every exporter shares: its outcome and its progress reports.
#include <cstdint>
#include <functional>

namespace tessaly::output {

enum class ExportResult {
  Written,
  NothingToWrite,  // empty source: no file is created, nothing is said
  OpenFailed,      // the target cannot be created: "文件打开失败"
  WriteFailed,     // a write failed midway; the target was left as it was
};

// Row `row` (0-based) of `rows` has been written.
using ExportProgress = std::function<void(uint32_t row, uint32_t rows)>;

// Reports after the first row, the last and every multiple of 100.
inline void ReportRowProgress(const ExportProgress& progress, uint32_t row, uint32_t rows) {
  if (progress && (row == 0 || row + 1 == rows || row % 100 == 0)) progress(row, rows);
}

}  // namespace tessaly::output
