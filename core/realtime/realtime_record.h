#pragma once
// One real-time sample: the same 84 bytes in memory and in .DT files.
#include <bit>
#include <cstddef>
#include <cstdint>

namespace tessaly::realtime {

constexpr int kRecordChannels = 18;

#pragma pack(push, 4)
struct RealtimeRecord {
  double time;                    // local time as an OLE date (days since 1899-12-30), whole seconds
  int32_t timeStatus;             // 0 valid, 1 invalid
  float values[kRecordChannels];  // CH1 to CH18
};
#pragma pack(pop)

static_assert(sizeof(RealtimeRecord) == 84);
static_assert(offsetof(RealtimeRecord, timeStatus) == 8 && offsetof(RealtimeRecord, values) == 12);
// The file is the memory image, which is little-endian in the file.
static_assert(std::endian::native == std::endian::little);

constexpr size_t kRecordSize = sizeof(RealtimeRecord);

}  // namespace tessaly::realtime
