// A run of data sectors decoded as a page load does, then every reader of
// the sample buffer over what was decoded.
#include <cmath>
#include <cstdlib>

#include "fuzz_input.h"
#include "record/record_file.h"
#include "record/sector_range.h"

namespace {

using tessaly::record::RecordTimeStatus;
using tessaly::record::Sample;

// Every field of one sample, so the sanitizers see each read.
uint64_t Touch(const Sample& s) {
  uint64_t sum = static_cast<uint64_t>(s.time.status) + static_cast<uint64_t>(s.time.ticks);
  for (int c = 0; c < tessaly::record::kChannelCount; ++c)
    sum += static_cast<uint64_t>(s.decimals[c]) + static_cast<uint64_t>(std::isnan(s.values[c]));
  return sum;
}

bool Same(const Sample& a, const Sample& b) { return Touch(a) == Touch(b) && a.time.status == b.time.status; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessaly::record;
  const std::string path = tessaly::fuzz::InputFile(data, size, "range.D01");
  RecordFile file;
  if (!file.Open(path)) return 0;
  SampleBuffer buffer;
  // The first sector may be the header's; take the range from 0 and from 1.
  for (uint32_t first : {0u, 1u}) {
    DecodeSectorRange(file, first, file.SectorCount() + 1, buffer);
    SampleBuffer::Walker walker(buffer);
    size_t i = 0;
    for (const Sample& s : buffer) {
      const Sample& walked = walker.At(i);
      if (!Same(s, walked) || s.time.status != buffer.TimeAt(i).status || s.time.ticks != buffer.TimeAt(i).ticks)
        std::abort();
      for (int c = 0; c < kChannelCount; ++c) {
        const float v = buffer.ValueAt(i, c);
        if (buffer.DecimalsAt(i, c) != s.decimals[c] ||
            (v != s.values[c] && !(std::isnan(v) && std::isnan(s.values[c]))))
          std::abort();
      }
      if (s.time.status == RecordTimeStatus::Null) std::abort();
      ++i;
    }
    if (i != buffer.size() || i > kSampleBufferLimit) std::abort();
    // Backwards and in strides, as the graph and the statistics go.
    for (size_t k = buffer.size(); k-- > 0;) Touch(walker.At(k));
    for (size_t k = 0; k < buffer.size(); k += 7) Touch(buffer[k]);
    if (!buffer.empty()) Touch(buffer.front()), Touch(buffer.back());
  }
  return 0;
}
