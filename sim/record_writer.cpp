#include "record_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/atomic_file.h"
#include "base/gbk.h"
#include "record/record_crc.h"
#include "record/record_time.h"

namespace tessaly::sim {
namespace {

constexpr size_t kSector = 512;

void PutU32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

void PutText(unsigned char* p, const std::string& utf8) {
  const std::string gbk = base::Utf8ToGbk(utf8);
  std::memcpy(p, gbk.data(), std::min<size_t>(gbk.size(), 16));
}

SectorFault FaultOf(const RecordSpec& spec, uint32_t index) {
  for (const FaultRange& range : spec.faults)
    if (range.first <= index && index <= range.last) return range.fault;
  return SectorFault::None;
}

void PutValue(unsigned char* sector, int channels, int sample, int channel, float value) {
  const size_t offset = 36 + 4 * (static_cast<size_t>(sample) * static_cast<size_t>(channels) + static_cast<size_t>(channel));
  if (offset + 4 <= kSector) std::memcpy(sector + offset, &value, 4);  // layout-limit fixtures stay inside
}

}  // namespace

float DemoWave(int channel, uint64_t sample) {
  const double t = static_cast<double>(sample);
  return static_cast<float>(50.0 + 10.0 * channel * 0.2 + 30.0 * std::sin(t / 200.0 + channel * 0.7) +
                            5.0 * std::sin(t / 23.0 + channel));
}

std::vector<unsigned char> BuildHeader(const RecordSpec& spec) {
  const size_t size = static_cast<size_t>(spec.headerSectors) * kSector;
  std::vector<unsigned char> block(std::max<size_t>(size, 32), 0);
  block[0] = static_cast<unsigned char>(spec.headerSectors);
  if (size >= 624) {
    PutText(&block[32], spec.deviceName);
    for (int i = 0; i < 18; ++i) {
      PutText(&block[48 + 32 * i], spec.names[i]);
      PutText(&block[64 + 32 * i], spec.units[i]);
    }
  }
  PutU32(&block[20], record::RecordCrc(block.data(), 16) ^ (spec.headerFault == HeaderFault::FirstCrc ? 1u : 0u));
  PutU32(&block[16], 0);
  PutU32(&block[16], record::RecordCrc(block.data(), size) ^ (spec.headerFault == HeaderFault::BlockCrc ? 1u : 0u));
  block.resize(size);
  return block;
}

void SealSector(unsigned char* sector) {
  PutU32(sector + 12, 0);
  PutU32(sector + 12, record::RecordCrc(sector, kSector));
}

void BuildSector(const RecordSpec& spec, uint32_t index, unsigned char* out) {
  std::memset(out, 0, kSector);
  const int n = spec.samplesPerSector;
  // Sector start = spec start + index * N * interval, in whole seconds.
  const int64_t spanTicks = int64_t{index} * n * spec.interval * 1'000'000;
  record::RecordTime start =
      record::RecordTime::FromCalendar(spec.year, spec.month, spec.day, spec.hour, spec.minute, spec.second);
  const SectorFault fault = FaultOf(spec, index);
  start = start.Add(spanTicks - (fault == SectorFault::Overlap ? record::kTicksPerSecond : 0));
  const record::CalendarFields f = start.Fields();
  out[0] = static_cast<unsigned char>(f.year - 2000);
  out[1] = static_cast<unsigned char>(f.month);
  out[2] = static_cast<unsigned char>(f.day);
  out[3] = static_cast<unsigned char>(f.hour);
  out[4] = static_cast<unsigned char>(f.minute);
  out[5] = static_cast<unsigned char>(f.second);
  if (fault == SectorFault::NotCalendar) out[3] = 30;
  if (fault == SectorFault::MonthZero) out[1] = 0;
  if (fault == SectorFault::YearTooLarge) out[0] = 150;
  out[7] = static_cast<unsigned char>(spec.interval & 0xFF);
  out[8] = static_cast<unsigned char>(spec.interval >> 8);
  out[9] = static_cast<unsigned char>(spec.channels);
  out[10] = static_cast<unsigned char>(n);
  for (int c = 0; c < 18; ++c) {
    const unsigned char nibble = static_cast<unsigned char>(spec.decimals[c] & 0x0F);
    out[20 + c / 2] |= (c % 2 == 0) ? nibble : static_cast<unsigned char>(nibble << 4);
  }
  const auto& wave = spec.waveform ? spec.waveform : DemoWave;
  for (int s = 0; s < n; ++s)
    for (int c = 0; c < spec.channels; ++c) PutValue(out, spec.channels, s, c, wave(c, uint64_t{index} * n + s));
  for (const ValueOverride& o : spec.overrides) {
    if (o.sector != index || o.sample < 0 || o.sample >= n || o.channel >= spec.channels) continue;
    const int from = o.channel < 0 ? 0 : o.channel;
    const int to = o.channel < 0 ? spec.channels : o.channel + 1;
    for (int c = from; c < to; ++c) PutValue(out, spec.channels, o.sample, c, o.value);
  }
  SealSector(out);
  if (fault == SectorFault::BadCrc) out[12] ^= 0x5A;
}

std::vector<unsigned char> BuildRecordFile(const RecordSpec& spec) {
  std::vector<unsigned char> file;
  if (spec.header) file = BuildHeader(spec);
  const size_t base = file.size();
  file.resize(base + size_t{spec.sectorCount} * kSector);
  for (uint32_t i = 0; i < spec.sectorCount; ++i) BuildSector(spec, i, &file[base + size_t{i} * kSector]);
  return file;
}

bool WriteRecordFile(const std::string& path, const RecordSpec& spec) {
  base::AtomicFile file;
  if (!file.Open(path)) return false;
  if (spec.header) {
    const std::vector<unsigned char> header = BuildHeader(spec);
    if (!file.Write(header.data(), header.size())) return false;
  }
  std::vector<unsigned char> chunk(kSector * 2048);
  for (uint32_t i = 0; i < spec.sectorCount;) {
    const uint32_t count = std::min<uint32_t>(2048, spec.sectorCount - i);
    for (uint32_t k = 0; k < count; ++k) BuildSector(spec, i + k, &chunk[size_t{k} * kSector]);
    if (!file.Write(chunk.data(), size_t{count} * kSector)) return false;
    i += count;
  }
  return file.Commit();
}

}  // namespace tessaly::sim
