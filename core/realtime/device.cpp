#include "realtime/device.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "base/format.h"
#include "base/texts.h"
#include "realtime/comm_log.h"
#include "realtime/modbus.h"
#include "realtime/serial.h"

namespace tessaly::realtime {

using base::Text;
using base::TextId;

CDevice::CDevice(int address_, CSerial* port_, CommLog* log_, int language_)
    : address(address_), port(port_), log(log_), language(language_) {}

void CDevice::Log(const char* text) const {
  if (log) log->AddLine(text);
}

void CDevice::LogBytes(const char* prefix, const uint8_t* bytes, int count) const {
  if (!log) return;
  std::string line = prefix;
  for (int i = 0; i < count; ++i) line += base::Format("%.2x ", bytes[i]);
  log->AddLine(line);
}

int CDevice::Transact(const uint8_t* request, uint8_t* response, int expectedLength) {
  if (!port || !port->IsOpen()) {
    Log(Text(TextId::PortUninitialized, language));
    return kPortNotOpen;
  }
  // Whatever came after the last exchange (a late answer, stray bytes, line
  // noise) would be read as the start of this answer and keep every later
  // one out of step.
  port->FlushInput();
  port->WriteBytes(request, kRequestSize);
  LogBytes(Text(TextId::LogSend, language), request, kRequestSize);
  int total = 0;
  for (int attempt = 0; attempt < kMaxReadAttempts; ++attempt) {
    uint32_t got = 0;
    port->ReadBytes(response + total, static_cast<uint32_t>(expectedLength - total), &got);
    if (got == 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(kReadPauseMs));
      continue;
    }
    total += static_cast<int>(got);
    if (total == expectedLength) {
      port->FlushInput();  // nothing that follows an answer belongs to the next one
      LogBytes(Text(TextId::LogReceive, language), response, expectedLength);
      return kSuccess;
    }
  }
  Log(Text(TextId::ResponseTimeOut, language));
  return kTimedOut;
}

int CCorvane::Sync() {
  float scratch = 0;
  return ReadSyncValue(scratch);
}

int CCorvane::Channels() const { return std::clamp<int>(channelCount, 1, kMaxChannels); }

int CCorvane::ReadSyncValue(float& value) {
  constexpr int kLength = 9;
  const Request request = BuildRequest(address, kReadHoldingRegisters, kSyncRegister, 2);
  uint8_t response[kLength] = {};
  if (Transact(request.data(), response, kLength) != kSuccess) return kTimedOut;
  if (!CrcMatches(response, 7)) {
    Log(Text(TextId::CrcError, language));
    return kCrcMismatch;
  }
  value = DecodeFloatBE(response + 3);
  return kSuccess;
}

int CCorvane::ReadChannels(float (&values)[kMaxChannels]) {
  constexpr int kAreaSize = 4 * kMaxChannels + 5;
  const int n = Channels();
  const int length = 4 * n + 5;
  const Request request = BuildRequest(address, kReadInputRegisters, 0, static_cast<uint16_t>((2 * n) % 256));
  uint8_t response[kAreaSize] = {};
  if (Transact(request.data(), response, length) != kSuccess) return kTimedOut;
  // Only an answer with exactly the values asked for is taken: a byte count of
  // 0 under a good CRC would otherwise store zeros on every channel.
  if (!ChannelAnswerOk(response, static_cast<size_t>(length), n)) {
    Log(Text(TextId::CrcError, language));
    return kCrcMismatch;
  }
  for (int i = 0; i < n; ++i) values[i] = DecodeFloatBE(response + 3 + 4 * i);
  return kSuccess;
}

}  // namespace tessaly::realtime
