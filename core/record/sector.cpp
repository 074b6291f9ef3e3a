#include "record/sector.h"

#include <algorithm>
#include <cstring>

#include "record/record_crc.h"

namespace tessaly::record {
namespace {

constexpr size_t kValuesOffset = 36;
constexpr size_t kValueSlots = (kSectorSize - kValuesOffset) / 4;  // 119

uint32_t GetU32(const unsigned char* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

RecordTime SectorTime(const unsigned char* s) {
  return RecordTime::FromCalendar(2000 + s[0], s[1], s[2], s[3], s[4], s[5]);
}

// The calendar second a time falls in: ticks / 10,000,000, rounded down.
int64_t SecondOf(const RecordTime& t) {
  return t.ticks >= 0 ? t.ticks / kTicksPerSecond : -((-t.ticks + kTicksPerSecond - 1) / kTicksPerSecond);
}

}  // namespace

bool SectorCrcOk(const unsigned char* sector) { return RecordCrcOfField(sector, kSectorSize, 12) == GetU32(sector + 12); }

bool SectorCalendarValid(const unsigned char* sector, RecordTime* start) {
  if (!SectorCrcOk(sector)) return false;
  const int year = 2000 + sector[0];
  const int month = sector[1];
  if (month < 1 || month > 12) return false;
  if (sector[2] < 1 || sector[2] > DaysInMonth(year, month)) return false;
  if (sector[3] > 23 || sector[4] > 59 || sector[5] > 59) return false;
  if (start) *start = SectorTime(sector);
  return true;
}

bool SectorDecodable(const unsigned char* sector) {
  return SectorCrcOk(sector) && sector[0] <= 99 && sector[1] <= 12 && sector[2] <= 31 && sector[3] <= 59 &&
         sector[4] <= 59 && sector[5] <= 59;
}

SectorStart SectorStartTime(const RecordFile& file, uint32_t sector) {
  unsigned char bytes[kSectorSize];
  RecordTime start;
  if (!file.ReadSector(sector, bytes) || !SectorCalendarValid(bytes, &start)) return {};
  return {start.ToOleDate(), RecordTimeStatus::Valid};
}

std::optional<uint32_t> FindCalendarValidSector(const RecordFile& file, uint32_t from, unsigned char* out512) {
  for (uint64_t sector = from; sector < uint64_t{from} + kCalendarSearchSectors && sector <= UINT32_MAX; ++sector)
    if (file.ReadSector(static_cast<uint32_t>(sector), out512) && SectorCalendarValid(out512))
      return static_cast<uint32_t>(sector);
  return std::nullopt;
}

DecodeResult DecodeSector(const unsigned char* sector, DecodeState& state, SampleBuffer& buffer) {
  RecordTime t = SectorTime(sector);
  const int64_t interval = int64_t{uint16_t(sector[7] | sector[8] << 8)} * 1'000'000;

  const RecordTime d = RecordTime::Difference(t, state.previousEnd);
  if (d.IsValid() && d.ticks > 0 && d.ticks < kTicksPerSecond) t = state.previousEnd;

  // A sector beyond the layout (more than 18 channels, or more values than
  // the 119 slots hold) is read only as far as it goes: channels above 18 are
  // dropped and samples stop at the last whole one inside the sector.
  const int c = sector[9];
  const int n = sector[10];
  const int channels = std::min(c, kChannelCount);
  const int samples = c == 0 ? n : std::min<int>(n, static_cast<int>(kValueSlots / static_cast<size_t>(c)));

  Sample sample{};
  for (int ch = 0; ch < channels; ++ch) {
    const unsigned char b = sector[20 + ch / 2];
    sample.decimals[ch] = (ch % 2 == 0) ? (b & 0x0F) : (b >> 4);
  }

  for (int s = 0; s < samples; ++s) {
    for (int ch = 0; ch < channels; ++ch)
      std::memcpy(&sample.values[ch], sector + kValuesOffset + 4 * (static_cast<size_t>(s) * c + ch), 4);

    const RecordTime when = t.Add(s * interval);
    const bool sameRun = when.IsValid()
                             ? state.run == DecodeState::Run::ValidSecond && state.runSecond == SecondOf(when)
                             : state.run == DecodeState::Run::NotValid;
    if (sameRun) {
      ++state.runLength;
    } else {
      state.run = when.IsValid() ? DecodeState::Run::ValidSecond : DecodeState::Run::NotValid;
      state.runSecond = when.IsValid() ? SecondOf(when) : 0;
      state.runLength = 0;
    }
    sample.time = state.runLength > 10 ? when.Add(kTicksPerSecond) : when;
    buffer.push_back(sample);
    if (buffer.size() >= kSampleBufferLimit) return DecodeResult::BufferFull;
  }

  state.previousEnd = t.Add(int64_t{n} * interval);
  return DecodeResult::Continue;
}

}  // namespace tessaly::record
