#include "output/realtime_csv_export.h"

#include "base/atomic_file.h"
#include "base/format.h"
#include "base/gbk.h"
#include "base/number_format.h"
#include "base/texts.h"
#include "realtime/data_file.h"

namespace tessaly::output {

using base::Text;
using base::TextId;

ExportResult ExportRealtimeCsv(const std::string& path, const std::vector<realtime::RealtimeRecord>& records,
                               const RealtimeCsvColumns& columns, const ExportProgress& progress) {
  if (records.empty()) return ExportResult::NothingToWrite;
  base::AtomicFile file;
  if (!file.Open(path)) return ExportResult::OpenFailed;

  std::string line = Text(TextId::CsvHeading, base::kChinese);
  for (int i = 0; i < realtime::kRecordChannels; ++i) line += "," + (columns.active(i) ? columns.names[i] : "");
  file.Write(base::Utf8ToGbk(line) + "\r\n");

  // "%f" of a value is "%.*f" with six decimals.
  constexpr int kValueDecimals = 6;
  char value[base::kFixedRoom];
  const auto n = static_cast<uint32_t>(records.size());
  for (uint32_t row = 0; row < n; ++row) {
    const record::CalendarFields f = realtime::RecordFields(records[row]);
    line = base::FormatText(Text(TextId::RealtimeCsvRowStart, base::kChinese), static_cast<int>(row), f.year, f.month, f.day, f.hour,
                            f.minute, f.second);
    for (int i = 0; i < realtime::kRecordChannels; ++i) {
      line += ',';
      if (columns.active(i))
        line.append(value, base::WriteFixed(value, static_cast<double>(records[row].values[i]), kValueDecimals));
    }
    line += "\r\n";
    if (!file.Write(line)) return ExportResult::WriteFailed;
    ReportRowProgress(progress, row, n);
  }
  return file.Commit() ? ExportResult::Written : ExportResult::WriteFailed;
}

}  // namespace tessaly::output
