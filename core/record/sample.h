#pragma once
// Decoded samples and the buffer that holds the last load.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "record/record_time.h"
#include "record/sector_source.h"

namespace tessaly::record {

constexpr int kChannelCount = 18;

// The recorder's marker values, stored like measurements; each consumer
// treats them as its own rules say.
constexpr float kMarkerHigh = 45000.0f;
constexpr float kMarkerLow = -19999.0f;

struct Sample {
  RecordTime time;
  int32_t decimals[kChannelCount];  // 0 for channels at or above the sector's channel count
  float values[kChannelCount];      // 0.0 for channels at or above the sector's channel count
};

// At most this many samples are decoded in one load.
constexpr size_t kSampleBufferLimit = 1'000'000;

// Where a data sector keeps its decimal-place nibbles and its values.
constexpr size_t kSectorDecimalsOffset = 20;
constexpr size_t kSectorValuesOffset = 36;
// Value slots of a sector (119), and the most samples its count byte can name
// (all of them when it has no channels).
constexpr size_t kSectorValueSlots = (kSectorSize - kSectorValuesOffset) / 4;
constexpr size_t kMaxSectorSamples = 255;
constexpr size_t kShiftWords = (kMaxSectorSamples + 63) / 64;

// The samples one decoded sector contributes, as the decoder worked them out;
// the values and decimal nibbles stay in the sector's bytes.
struct SectorSamples {
  RecordTime start;            // the first sample's time, after the gap rule
  uint16_t intervalUnits = 0;  // 100 ms each
  uint8_t stride = 0;          // values per sample in the sector (its channel count)
  uint8_t channels = 0;        // channels taken, at most kChannelCount
  uint16_t count = 0;          // samples taken
  // Samples the same-second rule moves one second later: bit s of the mask.
  uint64_t shifted[kShiftWords] = {};
};

// The samples of the last load, in decoding order. A full Sample is 160
// bytes while a sector holds up to 119 values in 512, so decoded sectors are
// kept as their bytes (read straight into place by the loader) plus a small
// entry per sector, and samples are put together when asked for.
class SampleBuffer {
 public:
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  // Capacity is kept for the next load.
  void clear();
  // Bytes held for sectors, in use or not.
  size_t ReservedBytes() const { return store_.size(); }

  Sample operator[](size_t i) const;

  // Yields the samples in order, each put together as it is reached.
  class const_iterator {
   public:
    const_iterator(const SampleBuffer* buffer, size_t i) : buffer_(buffer), i_(i) {}
    Sample operator*() const { return (*buffer_)[i_]; }
    const_iterator& operator++() {
      ++i_;
      return *this;
    }
    bool operator==(const const_iterator&) const = default;

   private:
    const SampleBuffer* buffer_;
    size_t i_;
  };
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size_}; }

  // Puts samples together for a reader that goes forward through the buffer
  // (exports, the list): the next sample's sector is usually the one in hand
  // or the next, and its decimals are taken once per sector. Any index may be
  // asked for; going back costs a search.
  class Walker {
   public:
    explicit Walker(const SampleBuffer& buffer) : buffer_(buffer) {}
    // Valid until the next call.
    const Sample& At(size_t i);

   private:
    const SampleBuffer& buffer_;
    size_t entry_ = SIZE_MAX;
    Sample current_{};
  };
  Sample front() const { return (*this)[0]; }
  Sample back() const { return (*this)[size_ - 1]; }
  RecordTime TimeAt(size_t i) const;
  float ValueAt(size_t i, int channel) const;
  int32_t DecimalsAt(size_t i, int channel) const;

  // A sample given whole (tools and fixtures; the loader appends sectors).
  void push_back(const Sample& sample);

  // Room for `count` sectors to be read into, valid until the next append or
  // call; a sector appended from there is kept without a copy.
  unsigned char* SectorSlots(size_t count);
  // Appends samples.count samples whose values lie in `sector`; a count,
  // stride or channel count beyond what a sector and the shift mask hold is
  // cut to what they hold.
  void AppendSector(const unsigned char* sector, const SectorSamples& samples);

 private:
  struct Entry {
    int64_t startTicks = 0;
    uint32_t firstSample = 0;
    uint32_t offset = 0;      // of the sector's bytes in store_, or of the first sample in whole_
    int32_t shiftIndex = -1;  // of the entry's kShiftWords words in shiftWords_, or -1
    uint16_t count = 0;
    uint16_t intervalUnits = 0;
    RecordTimeStatus status = RecordTimeStatus::Null;
    uint8_t stride = 0;
    uint8_t channels = 0;
    bool whole = false;  // samples given whole, in whole_
  };

  size_t EntryIndexOf(size_t i) const;
  const Entry& EntryOf(size_t i) const { return entries_[EntryIndexOf(i)]; }
  static bool Holds(const Entry& e, size_t i) { return i >= e.firstSample && i - e.firstSample < e.count; }
  const uint64_t* ShiftOf(const Entry& e) const {
    return e.shiftIndex < 0 ? nullptr : &shiftWords_[static_cast<size_t>(e.shiftIndex)];
  }
  Entry& AddEntry(uint16_t count);
  const unsigned char* Bytes(const Entry& e) const { return store_.data() + e.offset; }
  static RecordTime TimeIn(const Entry& e, const uint64_t* shift, size_t s);
  void CopyValues(const Entry& e, size_t s, float* values) const;

  size_t size_ = 0;
  std::vector<Entry> entries_;
  // Every entry but the last holds entries_[0].count samples, so sample i
  // lies in entry i / entries_[0].count (or the last).
  bool uniform_ = true;
  // Only grows: its size is the capacity kept from load to load, storeEnd_
  // the part in use.
  std::vector<unsigned char> store_;
  size_t storeEnd_ = 0;
  std::vector<uint64_t> shiftWords_;
  std::vector<Sample> whole_;
};

}  // namespace tessaly::record
