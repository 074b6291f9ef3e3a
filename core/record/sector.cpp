#include "record/sector.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "record/record_crc.h"

namespace tessaly::record {
namespace {

// Whole samples of C channels that fit the value slots, by C (a division per
// sector costs more than the rest of its bookkeeping).
constexpr std::array<uint8_t, 256> kSamplesThatFit = [] {
  std::array<uint8_t, 256> fit{};
  fit[0] = kMaxSectorSamples;  // no values: as many samples as the sector says
  for (size_t c = 1; c < fit.size(); ++c) fit[c] = static_cast<uint8_t>(kSectorValueSlots / c);
  return fit;
}();

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

// Same-second rule over `count` samples from `start`, `interval` apart: marks
// in `shifted` the samples stored one second later and carries the run on in
// `state`. Times that are not valid stay so when shifted, so only their run
// length is counted; with an interval of a second or more every sample after
// the first starts a run of its own, so only the first can be shifted. The
// sample-by-sample walk is left for shorter intervals.
void ApplySameSecondRule(const RecordTime& start, int64_t interval, int count, DecodeState& state, uint64_t* shifted) {
  if (count == 0) return;
  if (!start.IsValid()) {
    if (state.run == DecodeState::Run::NotValid) {
      state.runLength += count;
    } else {
      state.run = DecodeState::Run::NotValid;
      state.runSecond = 0;
      state.runLength = count - 1;
    }
    return;
  }
  const auto step = [&](int s) {
    const int64_t second = SecondOf(start.Add(s * interval));
    if (state.run == DecodeState::Run::ValidSecond && state.runSecond == second) {
      ++state.runLength;
    } else {
      state.run = DecodeState::Run::ValidSecond;
      state.runSecond = second;
      state.runLength = 0;
    }
    if (state.runLength > 10 && s < static_cast<int>(64 * kShiftWords)) shifted[s / 64] |= uint64_t{1} << (s % 64);
  };
  if (interval >= kTicksPerSecond) {
    step(0);
    if (count > 1) {
      state.runSecond = SecondOf(start.Add((count - 1) * interval));
      state.runLength = 0;
    }
    return;
  }
  for (int s = 0; s < count; ++s) step(s);
}

}  // namespace

bool SectorCrcOk(const unsigned char* sector) {
  return RecordCrcOfField(sector, kSectorSize, 12) == GetU32(sector + 12);
}

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

SectorStart SectorStartTime(const SectorSource& source, uint32_t sector) {
  unsigned char bytes[kSectorSize];
  RecordTime start;
  if (!source.ReadSector(sector, bytes) || !SectorCalendarValid(bytes, &start)) return {};
  return {start.ToOleDate(), RecordTimeStatus::Valid};
}

std::optional<uint32_t> FindCalendarValidSector(const SectorSource& source, uint32_t from, unsigned char* out512) {
  for (uint64_t sector = from; sector < uint64_t{from} + kCalendarSearchSectors && sector <= UINT32_MAX; ++sector)
    if (source.ReadSector(static_cast<uint32_t>(sector), out512) && SectorCalendarValid(out512))
      return static_cast<uint32_t>(sector);
  return std::nullopt;
}

DecodeResult DecodeSector(const unsigned char* sector, DecodeState& state, SampleBuffer& buffer) {
  if (buffer.size() >= kSampleBufferLimit) return DecodeResult::BufferFull;
  RecordTime t = SectorTime(sector);
  const uint16_t units = static_cast<uint16_t>(sector[7] | sector[8] << 8);
  const int64_t interval = int64_t{units} * 1'000'000;

  const RecordTime d = RecordTime::Difference(t, state.previousEnd);
  if (d.IsValid() && d.ticks > 0 && d.ticks < kTicksPerSecond) t = state.previousEnd;

  // A sector beyond the layout (more than 18 channels, or more values than
  // the 119 slots hold) is read only as far as it goes: channels above 18 are
  // dropped and samples stop at the last whole one inside the sector.
  const int c = sector[9];
  const int n = sector[10];
  const int layoutSamples = std::min<int>(n, kSamplesThatFit[static_cast<size_t>(c)]);
  const size_t room = kSampleBufferLimit - buffer.size();
  const int taken = static_cast<int>(std::min<size_t>(static_cast<size_t>(layoutSamples), room));

  SectorSamples samples;
  samples.start.status = t.status;  // field by field: see SampleBuffer::AddEntry
  samples.start.ticks = t.ticks;
  samples.intervalUnits = units;
  samples.stride = static_cast<uint8_t>(c);
  samples.channels = static_cast<uint8_t>(std::min(c, kChannelCount));
  samples.count = static_cast<uint16_t>(taken);
  ApplySameSecondRule(t, interval, taken, state, samples.shifted);
  buffer.AppendSector(sector, samples);
  if (buffer.size() >= kSampleBufferLimit) return DecodeResult::BufferFull;

  state.previousEnd = t.Add(int64_t{n} * interval);
  return DecodeResult::Continue;
}

}  // namespace tessaly::record
