#pragma once
// Tests on 512-byte data sectors and their decoding into samples.
#include <cstdint>
#include <optional>

#include "record/record_time.h"
#include "record/sample.h"
#include "record/sector_source.h"

namespace tessaly::record {

// The sector's CRC at offset 12 matches.
bool SectorCrcOk(const unsigned char* sector);

// SectorCrcOk and the six time fields form a real calendar date and time
// (year = byte 0 + 2000). When it passes and `start` is given, *start is the
// sector's start time.
bool SectorCalendarValid(const unsigned char* sector, RecordTime* start = nullptr);

// The weaker test the loader uses: SectorCrcOk, year byte <= 99, month <= 12,
// day <= 31, hour, minute, second <= 59.
bool SectorDecodable(const unsigned char* sector);

struct SectorStart {
  double oleDate = 0.0;  // days since 1899-12-30, fraction = time of day
  RecordTimeStatus status = RecordTimeStatus::Invalid;
};

// Reads sector `sector` of `source` and applies SectorCalendarValid; Invalid
// when it fails or cannot be read whole.
SectorStart SectorStartTime(const SectorSource& source, uint32_t sector);

// How many sectors from a starting point are searched for a calendar-valid
// one (the first usable sector of a file, a page's label).
constexpr uint32_t kCalendarSearchSectors = 50;

// The first of the kCalendarSearchSectors sectors from absolute sector `from`
// that passes SectorCalendarValid, or none; sectors beyond the end of the source
// fail. Its bytes are left in `out512`.
std::optional<uint32_t> FindCalendarValidSector(const SectorSource& source, uint32_t from, unsigned char* out512);

// Carried from one sector to the next within one load; fresh for each load.
struct DecodeState {
  RecordTime previousEnd = RecordTime::FromCalendar(1999, 12, 31, 0, 0, 0);
  // The calendar second of the current same-second run: none yet, a valid
  // second (ticks / 10,000,000), or the run of times that are not valid.
  enum class Run { None, ValidSecond, NotValid } run = Run::None;
  int64_t runSecond = 0;
  int32_t runLength = 0;  // samples after the first one of the run
};

enum class DecodeResult { Continue, BufferFull };

// Appends the samples of a sector that passed SectorDecodable. Returns
// BufferFull as soon as the buffer holds kSampleBufferLimit samples.
DecodeResult DecodeSector(const unsigned char* sector, DecodeState& state, SampleBuffer& buffer);

}  // namespace tessaly::record
