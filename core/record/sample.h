#pragma once
// Decoded samples and the buffer that holds the last load.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "record/record_time.h"

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

// Filled only by the page loader; emptied (capacity kept) at each load's start.
using SampleBuffer = std::vector<Sample>;

}  // namespace tessaly::record
