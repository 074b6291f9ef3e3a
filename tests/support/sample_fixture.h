#pragma once
// Sample buffers of chosen samples, for tests of what reads a load.
#include <vector>

#include "record/sample.h"

namespace tessaly::testing {

inline record::SampleBuffer BufferOf(const std::vector<record::Sample>& samples) {
  record::SampleBuffer buffer;
  for (const record::Sample& s : samples) buffer.push_back(s);
  return buffer;
}

}  // namespace tessaly::testing
