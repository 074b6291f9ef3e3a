#include "demo_record.h"

#include <cmath>
#include <numbers>

namespace tessaly::sim {
namespace {

// Repeatable jitter in -1..1 for a channel and sample (SplitMix64 finaliser).
double Jitter(int channel, uint64_t sample) {
  uint64_t z = sample * 0x9E3779B97F4A7C15ull + static_cast<uint64_t>(channel) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return static_cast<double>(z >> 11) / static_cast<double>(1ull << 52) - 1.0;
}

double Wave(double n, double period, double phase = 0.0) {
  return std::sin(2.0 * std::numbers::pi * n / period + phase);
}

float DemoValue(int channel, uint64_t sample) {
  const double n = static_cast<double>(sample);  // one sample a second
  const double jitter = Jitter(channel, sample);
  double v = 0.0;
  switch (channel) {
    case 0: v = 21.0 + 4.0 * Wave(n, 36000) + 0.3 * Wave(n, 1300) + 0.05 * jitter; break;
    case 1: v = 35.0 + 8.0 * Wave(n, 36000, -0.8) + 0.1 * jitter; break;
    case 2: v = 60.0 + 25.0 * (1.0 - std::exp(-n / 6000.0)) + 0.8 * Wave(n, 2400) + 0.1 * jitter; break;
    case 3: v = 101.3 + 0.6 * Wave(n, 20000) + 0.02 * jitter; break;
    case 4: v = 12.0 + 3.0 * std::tanh(4.0 * Wave(n, 9000)) + 0.2 * jitter; break;
    case 5: v = 55.0 - 10.0 * Wave(n, 36000) + 0.3 * jitter; break;
    case 6: v = 2.0 + 0.8 * (2.0 / std::numbers::pi) * std::asin(Wave(n, 14000)) + 0.005 * jitter; break;
    default: v = 12.0 + 6.0 * Wave(n, 5000) + 0.02 * jitter; break;
  }
  return static_cast<float>(v);
}

struct DemoChannel {
  const char* name;
  const char* unit;
  int decimals;
};

constexpr DemoChannel kChannels[] = {
    {"温度1", "℃", 1},   {"温度2", "℃", 1},  {"温度3", "℃", 1}, {"压力", "kPa", 2},
    {"流量", "m3/h", 1}, {"湿度", "%RH", 1}, {"液位", "m", 2},  {"电流", "mA", 2},
};

}  // namespace

RecordSpec DemoRecordSpec() {
  RecordSpec recordSpec;
  recordSpec.deviceName = "演示记录仪";
  recordSpec.channels = 8;
  recordSpec.samplesPerSector = 14;  // 8 x 14 = 112 of the 119 value slots
  recordSpec.interval = 10;          // one sample a second
  recordSpec.year = 2015, recordSpec.month = 1, recordSpec.day = 5, recordSpec.hour = 8, recordSpec.minute = 0,
  recordSpec.second = 0;
  recordSpec.sectorCount = 3000;  // 42,000 samples, pages of 1024 + 1024 + 952 sectors
  for (int c = 0; c < recordSpec.channels; ++c) {
    recordSpec.names[c] = kChannels[c].name;
    recordSpec.units[c] = kChannels[c].unit;
    recordSpec.decimals[c] = kChannels[c].decimals;
  }
  recordSpec.waveform = DemoValue;
  recordSpec.overrides = {{1500, 3, 4, 45000.0f}, {2200, 7, 7, -19999.0f}};
  return recordSpec;
}

}  // namespace tessaly::sim
