#pragma once
// The recorder on the serial line: one request/response transaction at a
// time, echoed into the communication log.
#include <cstdint>

namespace tessaly::realtime {

class CSerial;
class CommLog;

constexpr int kMaxChannels = 18;

// Result codes of the exchanges.
constexpr int kTimedOut = 0;
constexpr int kSuccess = 1;
constexpr int kCrcMismatch = 2;
constexpr int kPortNotOpen = 3;

// How many reads an exchange may take, and the pause after a read that
// brought nothing: a silent instrument costs about one second.
constexpr int kMaxReadAttempts = 100;
constexpr int kReadPauseMs = 10;

class CDevice {
 public:
  // `port` and `log` are not owned; `log` may be null (nothing is logged).
  CDevice(int address, CSerial* port, CommLog* log, int language);
  virtual ~CDevice() = default;

  // Confirms that the instrument answers; the general device always does.
  virtual int Sync() { return kSuccess; }

  // Drops pending input, sends the 8 request bytes and collects exactly
  // `expectedLength` bytes into `response`; what follows them is dropped.
  // kSuccess, kTimedOut or kPortNotOpen.
  int Transact(const uint8_t* request, uint8_t* response, int expectedLength);

  int32_t address;
  CSerial* port;
  CommLog* log;
  int32_t channelCount = kMaxChannels;  // kept within 1..18 where it is used
  int language;

 protected:
  void Log(const char* text) const;
  void LogBytes(const char* prefix, const uint8_t* bytes, int count) const;
};

class CCorvane : public CDevice {
 public:
  using CDevice::CDevice;

  int Sync() override;

  // The connection check (function 0x03, register 0x4000, 2 registers).
  // kSuccess (value stored), kTimedOut or kCrcMismatch.
  int ReadSyncValue(float& value);

  // The values of the first channelCount channels (function 0x04 from 0).
  // `values` is left unchanged unless the result is kSuccess.
  int ReadChannels(float (&values)[kMaxChannels]);

  // channelCount within 1..18.
  int Channels() const;
};

}  // namespace tessaly::realtime
