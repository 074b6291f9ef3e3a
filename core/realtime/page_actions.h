#pragma once
// What the real-time panel does with the store and its data files, on the
// panel's thread while a worker may run.
#include <array>
#include <cstdint>
#include <string>

#include "realtime/realtime_record.h"

namespace tessaly::realtime {

class AcquisitionPage;
class RecordStore;

constexpr int64_t kMinAutoSaveSeconds = 5;
constexpr int64_t kMaxAutoSaveSeconds = 2'592'000;  // 30 days

// Empties the store and every chart series.
void ClearData(AcquisitionPage& page, RecordStore& store);

// Writes the store to the save path, appending ".DT" (shown in the path
// field) when the path lacks it. "Open Save File Error" when it cannot.
bool ManualSave(AcquisitionPage& page, const RecordStore& store);

// The auto-save timer period in milliseconds, or 0 after "自动保存时间超过限制"
// when `seconds` lies outside 5..2,592,000.
int64_t AutoSavePeriodMs(AcquisitionPage& page, int64_t seconds);

// Replaces the store and the chart with the records of a .DT file: every
// record goes to all 18 series. "Open Index File Error" (store and chart
// unchanged) when the file cannot be opened.
bool OpenDataFile(AcquisitionPage& page, RecordStore& store, const std::string& path,
                  const std::array<uint32_t, kRecordChannels>& colors);

}  // namespace tessaly::realtime
