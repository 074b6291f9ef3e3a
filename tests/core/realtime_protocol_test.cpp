#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/format.h"
#include "base/texts.h"
#include "instrument.h"
#include "instrument_server.h"
#include "realtime/comm_log.h"
#include "realtime/device.h"
#include "realtime/modbus.h"
#include "realtime/serial.h"
#include "support/platform.h"

namespace tessaly::realtime {
namespace {

using sim::Bytes;
using sim::Instrument;
using sim::InstrumentOptions;

std::string Hex(const uint8_t* bytes, size_t n) {
  std::string s;
  for (size_t i = 0; i < n; ++i) s += base::Format("%.2x ", bytes[i]);
  return s;
}

TEST(Crc16, MatchesTheModbusCheckValueAndTheBitwiseDefinition) {
  const char* check = "123456789";
  EXPECT_EQ(Crc16(reinterpret_cast<const uint8_t*>(check), 9), 0x4B37);
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 256; ++i) {
    const uint8_t b = static_cast<uint8_t>(i);
    EXPECT_EQ(Crc16(&b, 1), Crc16Bitwise(&b, 1)) << i;
    bytes.push_back(static_cast<uint8_t>(i * 37 + 11));
  }
  EXPECT_EQ(Crc16(bytes.data(), bytes.size()), Crc16Bitwise(bytes.data(), bytes.size()));
  EXPECT_EQ(Crc16(nullptr, 0), 0xFFFF);
}

TEST(ModbusFrames, RequestsCarryTheirCrcLowByteFirst) {
  struct Case {
    Request request;
    const char* bytes;
  };
  for (const Case& c : {Case{BuildRequest(1, kReadHoldingRegisters, kSyncRegister, 2), "01 03 40 00 00 02 d1 cb "},
                        Case{BuildRequest(1, kReadInputRegisters, 0, 36), "01 04 00 00 00 24 f0 11 "},
                        Case{BuildRequest(0x101, kReadInputRegisters, 0, 2), nullptr}}) {
    if (c.bytes) {
      EXPECT_EQ(Hex(c.request.data(), c.request.size()), c.bytes);
    }
    EXPECT_TRUE(CrcMatches(c.request.data(), 6));
  }
  EXPECT_EQ(BuildRequest(0x101, kReadInputRegisters, 0, 2)[0], 0x01) << "only the low 8 bits of the address";
}

TEST(ModbusFrames, ValuesAreBigEndianSinglePrecision) {
  const uint8_t ten[] = {0x41, 0x20, 0x00, 0x00};
  EXPECT_EQ(DecodeFloatBE(ten), 10.0f);
  uint8_t bytes[4];
  for (float v : {-19999.0f, 45000.0f, 0.15625f}) {
    EncodeFloatBE(v, bytes);
    EXPECT_EQ(DecodeFloatBE(bytes), v);
  }
  EncodeFloatBE(-2.0f, bytes);
  EXPECT_EQ(bytes[0], 0xC0);
}

TEST(CommLogLines, AListPastOneHundredLinesIsEmptied) {
  CommLogLines log;
  for (int i = 1; i <= 100; ++i) log.AddLine(std::to_string(i));
  ASSERT_EQ(log.Lines().size(), 100u);
  EXPECT_EQ(log.Lines().back(), "100");
  log.AddLine("101");
  EXPECT_TRUE(log.Lines().empty());
  log.AddLine("next");
  EXPECT_EQ(log.Lines(), std::vector<std::string>{"next"});
}

// A real port on a pseudo-terminal whose other end is played by the test:
// before the reads named in `deliveries`, the instrument's answer is written
// up to the given byte, and the read is made only once those bytes are there.
class ScriptedPort : public CSerial {
 public:
  ScriptedPort(const sim::PseudoTerminal& pty, const InstrumentOptions& options) : pty_(pty), instrument_(options) {}

  std::map<int, size_t> deliveries;  // read number (from 1) -> answer bytes delivered by then
  Bytes answer;                      // replaces the instrument's answer when set
  Bytes request;                     // what was sent
  int reads = 0;

  int32_t ReadBytes(void* buffer, uint32_t size, uint32_t* read, uint32_t timeoutMs) override {
    if (++reads == 1) TakeRequest();
    if (auto it = deliveries.find(reads); it != deliveries.end() && it->second > delivered_) {
      const size_t end = std::min(it->second, answer.size());
      EXPECT_EQ(::write(pty_.MasterFd(), answer.data() + delivered_, end - delivered_),
                static_cast<ssize_t>(end - delivered_));
      delivered_ = end;
      WaitForEvent();
    }
    return CSerial::ReadBytes(buffer, size, read, timeoutMs);
  }

 private:
  void TakeRequest() {
    request.resize(kRequestSize);
    for (size_t got = 0; got < request.size();) {
      const ssize_t n = ::read(pty_.MasterFd(), request.data() + got, request.size() - got);
      ASSERT_GT(n, 0);
      got += static_cast<size_t>(n);
    }
    if (!answer.empty()) return;
    std::vector<Bytes> answers;
    instrument_.Receive(request.data(), request.size(), answers);
    if (!answers.empty()) answer = answers.front();
  }

  const sim::PseudoTerminal& pty_;
  Instrument instrument_;
  size_t delivered_ = 0;
};

class RecordingLog : public CommLog {
 public:
  void AddLine(const std::string& text) override { lines.push_back(text); }
  std::vector<std::string> lines;
};

class ProtocolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!tessaly::testing::HasPseudoTerminals())
      GTEST_SKIP() << "Windows has no pseudo-terminals (the COM port test covers the line)";
    std::string error;
    ASSERT_TRUE(pty.Open(error)) << error;
  }
  sim::PseudoTerminal pty;
};

TEST_F(ProtocolTest, TransactAssemblesPiecesWithinOneHundredReads) {
  struct Case {
    const char* name;
    std::map<int, size_t> deliveries;
    int expectedResult;
    int expectedReads;
  };
  const size_t whole = 4 * 18 + 5;
  const std::vector<Case> cases = {
      {"at once", {{1, whole}}, kSuccess, 1},
      {"three pieces", {{1, 10}, {4, 40}, {7, whole}}, kSuccess, 7},
      {"last piece on the 100th read", {{1, 30}, {100, whole}}, kSuccess, 100},
      {"still short after the 100th read", {{1, 30}, {100, whole - 1}}, kTimedOut, 100},
  };
  for (const Case& c : cases) {
    ScriptedPort port(pty, InstrumentOptions{});
    ASSERT_EQ(port.OpenPort(pty.DevicePath(), 9600, 8, 0, 0), 1);
    port.deliveries = c.deliveries;
    RecordingLog log;
    CCorvane device(1, &port, &log, base::kChinese);
    float values[kMaxChannels] = {};
    EXPECT_EQ(device.ReadChannels(values), c.expectedResult) << c.name;
    EXPECT_EQ(port.reads, c.expectedReads) << c.name;
    ASSERT_EQ(log.lines.size(), 2u) << c.name;
    EXPECT_EQ(log.lines[0], "发送：01 04 00 00 00 24 f0 11 ") << c.name;
    if (c.expectedResult == kSuccess) {
      EXPECT_EQ(log.lines[1], "收到：" + Hex(port.answer.data(), whole)) << c.name;
      for (int i = 0; i < kMaxChannels; ++i) EXPECT_EQ(values[i], Instrument::ChannelValue(i, 0)) << c.name;
    } else {
      EXPECT_EQ(log.lines[1], "超时未收到完整的响应") << c.name;
      EXPECT_EQ(values[0], 0.0f) << c.name << ": values untouched";
    }
    // Drain what a short case left on the line for the next one.
    uint8_t rest[128];
    uint32_t n = 0;
    port.CSerial::ReadBytes(rest, sizeof rest, &n);
  }
}

TEST_F(ProtocolTest, ChannelAnswersAreCheckedByTheirOwnCrcOnly) {
  struct Case {
    const char* name;
    InstrumentOptions options;
    int channels;
    int language;
    Bytes answer;  // instead of the instrument's, when set
    int expectedResult;
    const char* expectedLastLine;
  };
  InstrumentOptions otherAddress;
  otherAddress.answerAddress = 7;
  InstrumentOptions corrupt;
  corrupt.corruptRate = 1;
  // A byte count that places the CRC beyond the 9 bytes of a one-channel answer.
  Bytes longCount = {0x01, 0x04, 0x10, 0x41, 0x20, 0x00, 0x00, 0, 0};
  AppendCrc(longCount.data(), 7);
  // Byte counts that place a good CRC inside a four-channel answer of 21
  // bytes: none of them carries the four values asked for.
  const auto shortCount = [](uint8_t byteCount) {
    Bytes answer(21, 0);
    answer[0] = 0x01;
    answer[1] = 0x04;
    answer[2] = byteCount;
    AppendCrc(answer.data(), 3 + byteCount);
    return answer;
  };
  const std::vector<Case> cases = {
      {"other address accepted", otherAddress, 4, base::kChinese, {}, kSuccess, nullptr},
      {"corrupted", corrupt, 4, base::kChinese, {}, kCrcMismatch, "CRC校验错误"},
      {"corrupted, English", corrupt, 4, base::kEnglish, {}, kCrcMismatch, "ECC Error"},
      {"byte count past the answer", {}, 1, base::kChinese, longCount, kCrcMismatch, "CRC校验错误"},
      {"byte count zero", {}, 4, base::kChinese, shortCount(0), kCrcMismatch, "CRC校验错误"},
      {"byte count of three values", {}, 4, base::kEnglish, shortCount(12), kCrcMismatch, "ECC Error"},
  };
  for (const Case& c : cases) {
    ScriptedPort port(pty, c.options);
    ASSERT_EQ(port.OpenPort(pty.DevicePath(), 9600, 8, 0, 0), 1);
    port.answer = c.answer;
    port.deliveries = {{1, 4 * static_cast<size_t>(c.channels) + 5}};
    RecordingLog log;
    CCorvane device(1, &port, &log, c.language);
    device.channelCount = c.channels;
    constexpr float kBefore = 7.5f;
    float values[kMaxChannels];
    std::fill(std::begin(values), std::end(values), kBefore);
    EXPECT_EQ(device.ReadChannels(values), c.expectedResult) << c.name;
    if (c.expectedResult == kSuccess) {
      EXPECT_EQ(values[c.channels - 1], Instrument::ChannelValue(c.channels - 1, 0)) << c.name;
      EXPECT_EQ(values[c.channels], kBefore) << c.name << ": nothing beyond the channel count";
    } else {
      for (float v : values) EXPECT_EQ(v, kBefore) << c.name << ": values untouched";
      ASSERT_FALSE(log.lines.empty());
      EXPECT_EQ(log.lines.back(), c.expectedLastLine) << c.name;
    }
  }
}

// Bytes left on the line from before (a late answer, noise) are dropped
// before the request, so the answer read is this request's own.
TEST_F(ProtocolTest, InputPendingBeforeTheRequestIsDropped) {
  ScriptedPort port(pty, InstrumentOptions{});
  ASSERT_EQ(port.OpenPort(pty.DevicePath(), 9600, 8, 0, 0), 1);
  const uint8_t noise[10] = {0x01, 0x04, 0x48, 0xff, 0x00, 0x13, 0x37, 0x01, 0x04, 0x48};
  ASSERT_EQ(::write(pty.MasterFd(), noise, sizeof noise), static_cast<ssize_t>(sizeof noise));
  ASSERT_EQ(port.WaitForEvent(), 0);  // the noise is in the port's input
  port.deliveries = {{1, 4 * 18 + 5}};
  CCorvane device(1, &port, nullptr, base::kChinese);
  float values[kMaxChannels] = {};
  ASSERT_EQ(device.ReadChannels(values), kSuccess);
  for (int i = 0; i < kMaxChannels; ++i) EXPECT_EQ(values[i], Instrument::ChannelValue(i, 0)) << i;
}

TEST_F(ProtocolTest, ChannelCountIsKeptWithinOneToEighteen) {
  struct Case {
    int channelCount;
    const char* request;
  };
  for (const Case& c : {Case{25, "01 04 00 00 00 24 f0 11 "}, Case{0, "01 04 00 00 00 02 71 cb "}}) {
    ScriptedPort port(pty, InstrumentOptions{});
    ASSERT_EQ(port.OpenPort(pty.DevicePath(), 9600, 8, 0, 0), 1);
    const int channels = c.channelCount < 1 ? 1 : 18;
    port.deliveries = {{1, 4 * static_cast<size_t>(channels) + 5}};
    CCorvane device(1, &port, nullptr, base::kChinese);
    device.channelCount = c.channelCount;
    float values[kMaxChannels] = {};
    EXPECT_EQ(device.ReadChannels(values), kSuccess) << c.channelCount;
    EXPECT_EQ(Hex(port.request.data(), port.request.size()), c.request);
  }
}

TEST_F(ProtocolTest, SyncReadsTheValueAndTimesOutOnAnException) {
  InstrumentOptions exception;
  exception.exceptionCode = 2;
  for (const InstrumentOptions& options : {InstrumentOptions{}, exception}) {
    ScriptedPort port(pty, options);
    ASSERT_EQ(port.OpenPort(pty.DevicePath(), 9600, 8, 0, 0), 1);
    port.deliveries = {{1, 9}};
    RecordingLog log;
    CCorvane device(1, &port, &log, base::kEnglish);
    float value = -1;
    const int result = device.ReadSyncValue(value);
    ASSERT_EQ(log.lines.size(), 2u);
    EXPECT_EQ(log.lines[0], "Send：01 03 40 00 00 02 d1 cb ");
    if (options.exceptionCode == 0) {
      EXPECT_EQ(result, kSuccess);
      EXPECT_EQ(value, Instrument::kSyncValue);
      EXPECT_EQ(log.lines[1], "receive:" + Hex(port.answer.data(), 9));
    } else {
      EXPECT_EQ(result, kTimedOut) << "the 5-byte exception is shorter than the answer";
      EXPECT_EQ(value, -1) << "a failed exchange stores nothing";
      EXPECT_EQ(log.lines[1], "TimeOut can't receive information");
    }
  }
}

TEST(ProtocolClosedPort, NothingIsSentAndTheLogSaysWhy) {
  CSerial port;
  RecordingLog log;
  CCorvane device(1, &port, &log, base::kChinese);
  uint8_t request[8] = {}, response[9];
  EXPECT_EQ(device.Transact(request, response, 9), kPortNotOpen);
  float values[kMaxChannels] = {};
  EXPECT_EQ(device.ReadChannels(values), kTimedOut);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"串口未初始化", "串口未初始化"}));
  CCorvane silent(1, &port, nullptr, base::kChinese);
  EXPECT_EQ(silent.Sync(), kTimedOut);
  CDevice general(1, nullptr, nullptr, base::kChinese);
  EXPECT_EQ(general.Sync(), kSuccess);
}

}  // namespace
}  // namespace tessaly::realtime
