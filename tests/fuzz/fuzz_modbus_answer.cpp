// The check of a channel answer: byte count, length and CRC, then the values.
#include <cstdlib>

#include "realtime/device.h"
#include "realtime/modbus.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessaly::realtime;
  if (size < 1) return 0;
  // The first byte asks for a channel count (0 and 19 and above included).
  const int channels = data[0] % 21;
  const uint8_t* answer = data + 1;
  const size_t length = size - 1;
  if (!ChannelAnswerOk(answer, length, channels)) return 0;
  if (channels < 1 || channels > kMaxChannels || length != 4 * static_cast<size_t>(channels) + 5 ||
      !CrcMatches(answer, length - 2))
    std::abort();
  float sum = 0;
  for (int i = 0; i < channels; ++i) sum += DecodeFloatBE(answer + 3 + 4 * i);
  return sum == 12345.678f ? 1 : 0;
}
