#include "realtime/page_actions.h"

#include "base/texts.h"
#include "realtime/acquisition.h"
#include "realtime/data_file.h"
#include "realtime/record_store.h"

namespace tessaly::realtime {

using base::Text;
using base::TextId;

void ClearData(AcquisitionPage& page, RecordStore& store) {
  store.Clear();
  for (int i = 0; i < kRecordChannels; ++i) page.ClearSeries(i);
}

bool ManualSave(AcquisitionPage& page, const RecordStore& store) {
  std::string path = page.SavePath();
  if (!HasDataExtension(path)) {
    path += Text(TextId::DataFileExtension, base::kChinese);
    page.SetSavePath(path, true);
  }
  if (!store.SaveTo(path)) {
    page.ShowMessage(Text(TextId::OpenSaveFileError, base::kChinese));
    return false;
  }
  return true;
}

int64_t AutoSavePeriodMs(AcquisitionPage& page, int64_t seconds) {
  if (seconds < kMinAutoSaveSeconds || seconds > kMaxAutoSaveSeconds) {
    page.ShowMessage(Text(TextId::AutoSaveIntervalLimit, base::kChinese));
    return 0;
  }
  return seconds * 1000;
}

bool OpenDataFile(AcquisitionPage& page, RecordStore& store, const std::string& path,
                  const std::array<uint32_t, kRecordChannels>& colors) {
  // Opened for reading and writing, as the panel always has.
  const auto records = ReadDataFile(path, true);
  if (!records) {
    page.ShowMessage(Text(TextId::OpenIndexFileError, base::kChinese));
    return false;
  }
  ClearData(page, store);
  for (const RealtimeRecord& record : *records) {
    store.Append(record);
    const std::string label = PointLabel(RecordFields(record));
    for (int i = 0; i < kRecordChannels; ++i) page.AddPoint(i, record.values[i], label, colors[i]);
  }
  return true;
}

}  // namespace tessaly::realtime
