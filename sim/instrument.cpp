#include "instrument.h"

#include "realtime/modbus.h"
#include "record_writer.h"

namespace tessaly::sim {

using realtime::AppendCrc;
using realtime::CrcMatches;
using realtime::kRequestSize;

Instrument::Instrument(const InstrumentOptions& options) : options_(options), random_(options.seed) {}

bool Instrument::Finished() const {
  return options_.exitAfter >= 0 && requests_ >= static_cast<uint64_t>(options_.exitAfter);
}

float Instrument::ChannelValue(int channel, uint64_t poll) { return DemoWave(channel, poll); }

void Instrument::Receive(const uint8_t* data, size_t size, std::vector<Bytes>& answers) {
  pending_.insert(pending_.end(), data, data + size);
  size_t start = 0;
  while (pending_.size() - start >= kRequestSize) {
    const uint8_t* frame = pending_.data() + start;
    if (!CrcMatches(frame, kRequestSize - 2)) {
      ++start;
      continue;
    }
    start += kRequestSize;
    Bytes answer;
    if (Answer(frame, answer)) answers.push_back(std::move(answer));
  }
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(start));
}

bool Instrument::Answer(const uint8_t* frame, Bytes& answer) {
  if (frame[0] != (options_.address & 0xFF) || Finished()) return false;
  ++requests_;
  const uint8_t function = frame[1];
  const int first = frame[2] << 8 | frame[3];
  const int count = frame[4] << 8 | frame[5];
  const uint8_t from = static_cast<uint8_t>(options_.answerAddress >= 0 ? options_.answerAddress : options_.address);
  auto exception = [&](uint8_t code) { answer = {from, static_cast<uint8_t>(function | 0x80), code}; };
  if (options_.exceptionCode != 0) {
    exception(static_cast<uint8_t>(options_.exceptionCode));
  } else if (function == realtime::kReadHoldingRegisters) {
    if (first == realtime::kSyncRegister && count == 2) {
      answer = {from, function, 4, 0, 0, 0, 0};
      realtime::EncodeFloatBE(kSyncValue, answer.data() + 3);
    } else {
      exception(kIllegalAddress);
    }
  } else if (function == realtime::kReadInputRegisters) {
    // Two registers per channel, whole channels only.
    if (count > 0 && first % 2 == 0 && count % 2 == 0 && first / 2 + count / 2 <= options_.channels) {
      answer = {from, function, static_cast<uint8_t>(2 * count)};
      answer.resize(3 + 2 * static_cast<size_t>(count));
      for (int i = 0; i < count / 2; ++i)
        realtime::EncodeFloatBE(ChannelValue(first / 2 + i, polls_), answer.data() + 3 + 4 * i);
      ++polls_;
    } else {
      exception(kIllegalAddress);
    }
  } else {
    exception(kIllegalFunction);
  }
  answer.resize(answer.size() + 2);
  AppendCrc(answer.data(), answer.size() - 2);
  // A whole channel answer that claims no values, under a CRC that holds.
  if (function == realtime::kReadInputRegisters && answer.size() > 5 && options_.byteCountZeroRate > 0 &&
      Draw() < options_.byteCountZeroRate) {
    answer[2] = 0;
    AppendCrc(answer.data(), 3);
  }
  if (options_.silentAfter >= 0 && requests_ > static_cast<uint64_t>(options_.silentAfter)) return false;
  const int64_t request = static_cast<int64_t>(requests_);
  if (request == options_.burstAt) {
    answer.clear();
    AppendNoise(answer, options_.burstBytes);
    return !answer.empty();
  }
  if (Damage(answer)) return false;
  if (request == options_.strayAfter) AppendNoise(answer, options_.strayBytes);
  return true;
}

void Instrument::AppendNoise(Bytes& bytes, int count) {
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<uint8_t>(Draw() * 256));
}

bool Instrument::Damage(Bytes& answer) {
  // One draw per fault, in a fixed order, so a seed always gives the same run.
  const bool dropped = Draw() < options_.dropRate;
  const bool corrupt = Draw() < options_.corruptRate;
  const bool truncate = Draw() < options_.truncateRate;
  if (corrupt) answer[static_cast<size_t>(Draw() * static_cast<double>(answer.size()))] ^= 0x5A;
  if (truncate) answer.resize(1 + static_cast<size_t>(Draw() * static_cast<double>(answer.size() - 1)));
  return dropped;
}

double Instrument::Draw() {
  // splitmix64: small, and the same sequence on every platform.
  uint64_t z = (random_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return static_cast<double>(z >> 11) * 0x1.0p-53;
}

}  // namespace tessaly::sim
