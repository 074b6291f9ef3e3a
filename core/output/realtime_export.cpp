#include "output/realtime_export.h"

#include "base/atomic_file.h"
#include "base/format.h"
#include "base/gbk.h"
#include "base/texts.h"
#include "output/workbook.h"
#include "realtime/data_file.h"
#include "realtime/record_store.h"

namespace tessaly::output {
namespace {

using base::Text;
using base::TextId;
using realtime::kRecordChannels;
using realtime::RealtimeRecord;

// Hands `write` every record the store holds when its row comes; false when
// `write` failed a row.
template <typename WriteRow>
bool WalkStore(const realtime::RecordStore& store, const ExportProgress& progress, WriteRow&& write) {
  const auto rows = static_cast<uint32_t>(store.Size());
  RealtimeRecord record;
  for (uint32_t row = 0; store.Read(row, record); ++row) {
    if (!write(row, record)) return false;
    ReportRowProgress(progress, row, rows);
  }
  return true;
}

std::string ValueText(const RealtimeRecord& record, int channel) {
  return base::Format("%f", static_cast<double>(record.values[channel]));
}

}  // namespace

ExportResult ExportRealtimeCsv(const std::string& path, const realtime::RecordStore& store,
                               const RealtimeColumns& columns, const ExportProgress& progress) {
  if (store.Size() == 0) return ExportResult::NothingToWrite;
  base::AtomicFile file;
  if (!file.Open(path)) return ExportResult::OpenFailed;

  std::string line = Text(TextId::CsvHeading, base::kChinese);
  for (int i = 0; i < kRecordChannels; ++i) line += "," + (columns.active(i) ? columns.names[i] : "");
  file.Write(base::Utf8ToGbk(line) + "\r\n");

  const bool walked = WalkStore(store, progress, [&](uint32_t row, const RealtimeRecord& record) {
    const record::CalendarFields f = realtime::RecordFields(record);
    line = base::FormatText(Text(TextId::RealtimeCsvRowStart, base::kChinese), static_cast<int>(row), f.year, f.month,
                            f.day, f.hour, f.minute, f.second);
    for (int i = 0; i < kRecordChannels; ++i) line += columns.active(i) ? "," + ValueText(record, i) : ",";
    line += "\r\n";
    return file.Write(line);
  });
  return walked && file.Commit() ? ExportResult::Written : ExportResult::WriteFailed;
}

ExportResult WriteRealtimeWorkbookFile(const std::string& path, const realtime::RecordStore& store,
                                       const RealtimeColumns& columns, const ExportProgress& progress) {
  if (store.Size() == 0) return ExportResult::NothingToWrite;
  WorkbookFile book;
  if (!book.Open(path)) return ExportResult::OpenFailed;

  book.Put(0, 0, Text(TextId::ExportIndexHeading, base::kChinese));
  book.Put(0, 1, Text(TextId::ExportTimeHeading, base::kChinese));
  for (int j = 0; j < kRecordChannels; ++j)
    if (columns.active(j)) book.Put(0, static_cast<uint16_t>(j + 2), columns.names[j].c_str());

  WalkStore(store, progress, [&](uint32_t row, const RealtimeRecord& record) {
    const record::CalendarFields f = realtime::RecordFields(record);
    book.Put(row + 1, 0, base::Format("%u", row).c_str());
    book.Put(row + 1, 1,
             base::FormatText(Text(TextId::ExportTimeText, base::kChinese), f.year, f.month, f.day, f.hour, f.minute,
                              f.second)
                 .c_str());
    for (int j = 0; j < kRecordChannels; ++j)
      if (columns.active(j)) book.Put(row + 1, static_cast<uint16_t>(j + 2), ValueText(record, j).c_str());
    return book.Ok();
  });
  return book.Commit() ? ExportResult::Written : ExportResult::WriteFailed;
}

}  // namespace tessaly::output
