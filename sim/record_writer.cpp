#include "record_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/atomic_file.h"
#include "base/gbk.h"
#include "record/record_crc.h"
#include "record/record_set.h"
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

SectorFault FaultOf(const RecordSpec& recordSpec, uint32_t index) {
  for (const FaultRange& range : recordSpec.faults)
    if (range.first <= index && index <= range.last) return range.fault;
  return SectorFault::None;
}

void PutValue(unsigned char* sector, int channels, int sample, int channel, float value) {
  const size_t offset =
      36 + 4 * (static_cast<size_t>(sample) * static_cast<size_t>(channels) + static_cast<size_t>(channel));
  if (offset + 4 <= kSector) std::memcpy(sector + offset, &value, 4);  // layout-limit fixtures stay inside
}

}  // namespace

float DemoWave(int channel, uint64_t sample) {
  const double t = static_cast<double>(sample);
  return static_cast<float>(50.0 + 10.0 * channel * 0.2 + 30.0 * std::sin(t / 200.0 + channel * 0.7) +
                            5.0 * std::sin(t / 23.0 + channel));
}

std::vector<unsigned char> BuildHeader(const RecordSpec& recordSpec) {
  const size_t size = static_cast<size_t>(recordSpec.headerSectors) * kSector;
  std::vector<unsigned char> block(std::max<size_t>(size, 32), 0);
  block[0] = static_cast<unsigned char>(recordSpec.headerSectors);
  if (size >= 624) {
    PutText(&block[32], recordSpec.deviceName);
    for (int i = 0; i < 18; ++i) {
      PutText(&block[48 + 32 * i], recordSpec.names[i]);
      PutText(&block[64 + 32 * i], recordSpec.units[i]);
    }
  }
  PutU32(&block[20], record::RecordCrc(block.data(), 16) ^ (recordSpec.headerFault == HeaderFault::FirstCrc ? 1u : 0u));
  PutU32(&block[16], 0);
  PutU32(&block[16],
         record::RecordCrc(block.data(), size) ^ (recordSpec.headerFault == HeaderFault::BlockCrc ? 1u : 0u));
  block.resize(size);
  return block;
}

void SealSector(unsigned char* sector) {
  PutU32(sector + 12, 0);
  PutU32(sector + 12, record::RecordCrc(sector, kSector));
}

void BuildSector(const RecordSpec& recordSpec, uint32_t index, unsigned char* out) {
  std::memset(out, 0, kSector);
  const int n = recordSpec.samplesPerSector;
  // Sector start = recordSpec start + index * N * interval, in whole seconds.
  const int64_t spanTicks = int64_t{index} * n * recordSpec.interval * 1'000'000;
  record::RecordTime start = record::RecordTime::FromCalendar(recordSpec.year, recordSpec.month, recordSpec.day,
                                                              recordSpec.hour, recordSpec.minute, recordSpec.second);
  const SectorFault fault = FaultOf(recordSpec, index);
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
  out[7] = static_cast<unsigned char>(recordSpec.interval & 0xFF);
  out[8] = static_cast<unsigned char>(recordSpec.interval >> 8);
  out[9] = static_cast<unsigned char>(recordSpec.channels);
  out[10] = static_cast<unsigned char>(n);
  for (int c = 0; c < 18; ++c) {
    const unsigned char nibble = static_cast<unsigned char>(recordSpec.decimals[c] & 0x0F);
    out[20 + c / 2] |= (c % 2 == 0) ? nibble : static_cast<unsigned char>(nibble << 4);
  }
  const auto& wave = recordSpec.waveform ? recordSpec.waveform : DemoWave;
  for (int s = 0; s < n; ++s)
    for (int c = 0; c < recordSpec.channels; ++c)
      PutValue(out, recordSpec.channels, s, c, wave(c, uint64_t{index} * n + s));
  for (const ValueOverride& o : recordSpec.overrides) {
    if (o.sector != index || o.sample < 0 || o.sample >= n || o.channel >= recordSpec.channels) continue;
    const int from = o.channel < 0 ? 0 : o.channel;
    const int to = o.channel < 0 ? recordSpec.channels : o.channel + 1;
    for (int c = from; c < to; ++c) PutValue(out, recordSpec.channels, o.sample, c, o.value);
  }
  SealSector(out);
  if (fault == SectorFault::BadCrc) out[12] ^= 0x5A;
}

std::vector<unsigned char> BuildRecordFile(const RecordSpec& recordSpec) {
  std::vector<unsigned char> file;
  if (recordSpec.header) file = BuildHeader(recordSpec);
  const size_t base = file.size();
  file.resize(base + size_t{recordSpec.sectorCount} * kSector);
  for (uint32_t i = 0; i < recordSpec.sectorCount; ++i) BuildSector(recordSpec, i, &file[base + size_t{i} * kSector]);
  return file;
}

bool WriteRecordFile(const std::string& path, const RecordSpec& recordSpec) {
  return WriteRecordPart(path, recordSpec, 0, recordSpec.sectorCount);
}

bool WriteRecordPart(const std::string& path, const RecordSpec& recordSpec, uint32_t first, uint32_t count) {
  base::AtomicFile file;
  if (!file.Open(path)) return false;
  if (recordSpec.header) {
    const std::vector<unsigned char> header = BuildHeader(recordSpec);
    if (!file.Write(header.data(), header.size())) return false;
  }
  std::vector<unsigned char> chunk(kSector * 2048);
  for (uint32_t i = 0; i < count;) {
    const uint32_t run = std::min<uint32_t>(2048, count - i);
    for (uint32_t k = 0; k < run; ++k) BuildSector(recordSpec, first + i + k, &chunk[size_t{k} * kSector]);
    if (!file.Write(chunk.data(), size_t{run} * kSector)) return false;
    i += run;
  }
  return file.Commit();
}

std::vector<std::string> ConsecutiveRecordNames(const std::string& path, uint32_t parts) {
  const int from = record::RecordFileNumber(path);
  if (from == 0 || uint64_t(from) + parts - 1 > 99) return {};
  std::vector<std::string> names;
  for (uint32_t k = 0; k < parts; ++k) {
    const uint32_t number = static_cast<uint32_t>(from) + k;
    names.push_back(path.substr(0, path.size() - 2) + static_cast<char>('0' + number / 10) +
                    static_cast<char>('0' + number % 10));
  }
  return names;
}

}  // namespace tessaly::sim
