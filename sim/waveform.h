#pragma once
// The value shapes tessaly-sim puts on a channel, as given on its command line.
#include <cstdint>
#include <optional>
#include <string_view>

namespace tessaly::sim {

struct Waveform {
  enum class Kind { Sine, Ramp, Square, Constant };
  Kind kind = Kind::Constant;
  // Sine: amplitude, period in samples, offset, phase in radians.
  // Ramp: start, step per sample. Square: low, high, period in samples
  // (low for the first half). Constant: value.
  double p[4] = {0, 0, 0, 0};

  // The value at the channel's sample number `sample` (counted over the file).
  float At(uint64_t sample) const;
};

// "sine:AMPLITUDE,PERIOD[,OFFSET[,PHASE]]", "ramp:START,STEP",
// "square:LOW,HIGH,PERIOD" or "constant:VALUE"; none when not understood.
std::optional<Waveform> ParseWaveform(std::string_view text);

}  // namespace tessaly::sim
