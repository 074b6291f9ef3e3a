#include "record/sample.h"

#include <algorithm>
#include <cstring>

#include "record/sector_source.h"

namespace tessaly::record {
namespace {

// Channel 2k in the low nibble of byte 20 + k, 2k + 1 in the high one.
int32_t SectorDecimal(const unsigned char* sector, int channel) {
  const unsigned char b = sector[kSectorDecimalsOffset + static_cast<size_t>(channel) / 2];
  return channel % 2 == 0 ? (b & 0x0F) : (b >> 4);
}

void SectorDecimals(const unsigned char* sector, int channels, int32_t* decimals) {
  for (int ch = 0; ch < channels; ++ch) decimals[ch] = SectorDecimal(sector, ch);
}

}  // namespace

void SampleBuffer::clear() {
  size_ = 0;
  entries_.clear();
  uniform_ = true;
  storeEnd_ = 0;
  shiftWords_.clear();
  whole_.clear();
}

size_t SampleBuffer::EntryIndexOf(size_t i) const {
  if (uniform_) return std::min(i / entries_.front().count, entries_.size() - 1);
  const auto after = std::upper_bound(entries_.begin(), entries_.end(), i,
                                      [](size_t index, const Entry& e) { return index < e.firstSample; });
  return static_cast<size_t>(after - entries_.begin()) - 1;
}

// A sector's start lies within 2000 to 2099 (or a second after the sector
// before), and 255 samples of 6553.5 s add at most 19 days, so the ticks
// cannot overflow here.
RecordTime SampleBuffer::TimeIn(const Entry& e, const uint64_t* shift, size_t s) {
  if (e.status != RecordTimeStatus::Valid) return {e.status, e.startTicks};
  int64_t ticks = e.startTicks + static_cast<int64_t>(s) * e.intervalUnits * 1'000'000;
  if (shift && s < 64 * kShiftWords && (shift[s / 64] >> (s % 64) & 1u)) ticks += kTicksPerSecond;
  return {RecordTimeStatus::Valid, ticks};
}

// The values of sample s of a sector entry; all 18 channels, as recorders
// mostly write, are copied as one block of known size.
void SampleBuffer::CopyValues(const Entry& e, size_t s, float* values) const {
  const unsigned char* from = Bytes(e) + kSectorValuesOffset + 4 * s * e.stride;
  if (e.channels == kChannelCount)
    std::memcpy(values, from, 4 * size_t{kChannelCount});
  else
    std::memcpy(values, from, 4 * size_t{e.channels});
}

RecordTime SampleBuffer::TimeAt(size_t i) const {
  const Entry& e = EntryOf(i);
  const size_t s = i - e.firstSample;
  if (e.whole) return whole_[e.offset + s].time;
  return TimeIn(e, ShiftOf(e), s);
}

float SampleBuffer::ValueAt(size_t i, int channel) const {
  const Entry& e = EntryOf(i);
  const size_t s = i - e.firstSample;
  if (e.whole) return whole_[e.offset + s].values[channel];
  if (channel >= e.channels) return 0.0f;
  float v;
  std::memcpy(&v, Bytes(e) + kSectorValuesOffset + 4 * (s * e.stride + static_cast<size_t>(channel)), 4);
  return v;
}

int32_t SampleBuffer::DecimalsAt(size_t i, int channel) const {
  const Entry& e = EntryOf(i);
  if (e.whole) return whole_[e.offset + (i - e.firstSample)].decimals[channel];
  return channel < e.channels ? SectorDecimal(Bytes(e), channel) : 0;
}

Sample SampleBuffer::operator[](size_t i) const {
  const Entry& e = EntryOf(i);
  const size_t s = i - e.firstSample;
  if (e.whole) return whole_[e.offset + s];
  Sample out{};
  out.time = TimeIn(e, ShiftOf(e), s);
  SectorDecimals(Bytes(e), e.channels, out.decimals);
  CopyValues(e, s, out.values);
  return out;
}

const Sample& SampleBuffer::Walker::At(size_t i) {
  const std::vector<Entry>& entries = buffer_.entries_;
  if (entry_ >= entries.size() || !Holds(entries[entry_], i)) {
    const size_t next = entry_ + 1;  // SIZE_MAX + 1 is 0
    entry_ = next < entries.size() && Holds(entries[next], i) ? next : buffer_.EntryIndexOf(i);
    const Entry& e = entries[entry_];
    if (!e.whole) {
      current_ = Sample{};
      SectorDecimals(buffer_.Bytes(e), e.channels, current_.decimals);
    }
  }
  const Entry& e = entries[entry_];
  const size_t s = i - e.firstSample;
  if (e.whole) return buffer_.whole_[e.offset + s];
  current_.time = TimeIn(e, buffer_.ShiftOf(e), s);
  buffer_.CopyValues(e, s, current_.values);
  return current_;
}

// Fields are set one by one in place: an entry built whole and copied in is
// read back before its parts have left the store buffer, which stalls.
SampleBuffer::Entry& SampleBuffer::AddEntry(uint16_t count) {
  if (!entries_.empty() && entries_.back().count != entries_.front().count) uniform_ = false;
  Entry& e = entries_.emplace_back();
  e.firstSample = static_cast<uint32_t>(size_);
  e.count = count;
  size_ += count;
  return e;
}

void SampleBuffer::push_back(const Sample& sample) {
  if (!entries_.empty() && entries_.back().whole && entries_.back().count < UINT16_MAX) {
    ++entries_.back().count;  // only the last entry grows, which keeps uniform_ true
    ++size_;
  } else {
    Entry& e = AddEntry(1);
    e.offset = static_cast<uint32_t>(whole_.size());
    e.whole = true;
  }
  whole_.push_back(sample);
}

unsigned char* SampleBuffer::SectorSlots(size_t count) {
  const size_t needed = storeEnd_ + count * kSectorSize;
  if (needed > store_.size()) store_.resize(std::max(needed, 2 * store_.size()));
  return store_.data() + storeEnd_;
}

void SampleBuffer::AppendSector(const unsigned char* sector, const SectorSamples& samples) {
  // The readers trust an entry's counts, so they are held to the sector here.
  const uint8_t stride = samples.stride;
  const uint8_t channels = std::min<uint8_t>(samples.channels, std::min<uint8_t>(stride, kChannelCount));
  const size_t fit = stride == 0 ? kMaxSectorSamples : kSectorValueSlots / stride;
  const auto count = static_cast<uint16_t>(std::min<size_t>({samples.count, fit, kMaxSectorSamples}));
  if (count == 0) return;
  // Only the bytes up to the last value taken are needed. A sector read into
  // place that needs most of its bytes stays as it lies; one that needs few
  // keeps only those, so short sectors cost little memory.
  const size_t used = kSectorValuesOffset + 4 * size_t{stride} * count;
  unsigned char* here = SectorSlots(1);
  if (sector == here && used > kSectorSize / 2) {
    storeEnd_ += kSectorSize;
  } else {
    if (sector != here) std::memmove(here, sector, used);  // may overlap a sector read into the slots
    storeEnd_ += used;
  }
  int32_t shiftIndex = -1;
  if (std::any_of(std::begin(samples.shifted), std::end(samples.shifted), [](uint64_t w) { return w != 0; })) {
    shiftIndex = static_cast<int32_t>(shiftWords_.size());
    shiftWords_.insert(shiftWords_.end(), std::begin(samples.shifted), std::end(samples.shifted));
  }
  Entry& e = AddEntry(count);
  e.startTicks = samples.start.ticks;
  e.status = samples.start.status;
  e.offset = static_cast<uint32_t>(here - store_.data());
  e.shiftIndex = shiftIndex;
  e.intervalUnits = samples.intervalUnits;
  e.stride = stride;
  e.channels = channels;
}

}  // namespace tessaly::record
