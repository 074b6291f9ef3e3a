#pragma once
// The recorder's side of the serial protocol: answers the connection check
// (function 0x03, register 0x4000, 2 registers) and the channel request
// (function 0x04 from register 0, 2 per channel) with waveform values, and
// damages its answers on request. No I/O here; InstrumentServer puts it on
// a pseudo-terminal.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessaly::sim {

struct InstrumentOptions {
  int address = 1;
  int channels = 18;
  int baud = 9600;           // for the wire-time pacing
  bool pace = false;         // bytes at the wire time of the baud rate (10 bits each)
  int delayMs = 0;           // before every answer
  int pieces = 1;            // an answer is written in this many pieces ...
  int pieceGapMs = 5;        // ... this far apart
  double dropRate = 0;       // answers not sent
  double corruptRate = 0;    // answers with one byte changed
  double truncateRate = 0;   // answers cut short
  uint64_t seed = 1;         // the faults are drawn from it, reproducibly
  int exceptionCode = 0;     // non-zero: every request gets this Modbus exception
  int answerAddress = -1;    // answer with this address instead of our own
  int64_t silentAfter = -1;  // answer nothing after this many requests
  int64_t exitAfter = -1;    // end after this many requests
  // Faults at one request, counted from 1 over every request addressed to us:
  int64_t lateOnce = 0;    // answer it kLateAnswerMs after it came, past the master's time-out
  int64_t strayAfter = 0;  // send strayBytes noise bytes right after its answer
  int strayBytes = 0;
  int64_t burstAt = 0;  // send burstBytes noise bytes instead of its answer
  int burstBytes = 0;
  double byteCountZeroRate = 0;  // channel answers with byte count 0 under a good CRC
};

// Well past the master's time-out of 100 reads with 10 ms pauses (a second
// on a quiet machine, twice that on a busy one with sanitizers), so the
// answer cannot be taken in time; a master that pauses as long again before
// its next request has it in the port by then.
constexpr int kLateAnswerMs = 3000;

using Bytes = std::vector<uint8_t>;

class Instrument {
 public:
  static constexpr float kSyncValue = 1.0f;
  static constexpr uint8_t kIllegalFunction = 0x01;
  static constexpr uint8_t kIllegalAddress = 0x02;

  explicit Instrument(const InstrumentOptions& options);

  // Takes bytes from the line and appends the answers to the requests they
  // complete. Frames with a bad CRC are skipped byte by byte, frames for
  // other addresses ignored; a dropped or withheld answer adds nothing.
  void Receive(const uint8_t* data, size_t size, std::vector<Bytes>& answers);

  // Requests addressed to us so far.
  uint64_t Requests() const { return requests_; }
  // True when request `request` (from 1) is to be answered late.
  bool AnswersLate(uint64_t request) const {
    return options_.lateOnce > 0 && request == static_cast<uint64_t>(options_.lateOnce);
  }
  // True once exitAfter requests have been answered.
  bool Finished() const;

  // Channel `channel` (from 0) as the poll-th channel request (from 0) reads it.
  static float ChannelValue(int channel, uint64_t poll);

 private:
  bool Answer(const uint8_t* frame, Bytes& answer);
  bool Damage(Bytes& answer);  // true: drop it
  void AppendNoise(Bytes& bytes, int count);
  double Draw();  // uniform in [0, 1)

  InstrumentOptions options_;
  Bytes pending_;
  uint64_t requests_ = 0;
  uint64_t polls_ = 0;
  uint64_t random_;
};

}  // namespace tessaly::sim
