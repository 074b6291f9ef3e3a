#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "instrument_server.h"
#include "realtime/serial.h"
#include "support/platform.h"
#include "support/temp_dir.h"

namespace tessaly::realtime {
namespace {

using tessaly::testing::ScopedEnv;

class SerialTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!tessaly::testing::HasPseudoTerminals())
      GTEST_SKIP() << "Windows has no pseudo-terminals (the COM port test covers the line)";
    std::string error;
    ASSERT_TRUE(pty.Open(error)) << error;
  }

  // Bytes the port wrote, as the other end of the line sees them.
  std::string ReadLine(size_t count) {
    std::string out(count, '\0');
    size_t got = 0;
    while (got < count) {
      const ssize_t n = ::read(pty.MasterFd(), out.data() + got, count - got);
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
    out.resize(got);
    return out;
  }

  void WriteLine(const std::string& bytes) {
    ASSERT_EQ(::write(pty.MasterFd(), bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }

  sim::PseudoTerminal pty;
};

TEST(SerialPortPath, PortNumbersMapToDevicesUnlessOverridden) {
#ifdef _WIN32
  const std::string first = "\\\\.\\COM1", tenth = "\\\\.\\COM10";
#else
  const std::string first = "/dev/ttyS0", tenth = "/dev/ttyS9";
#endif
  ScopedEnv noNinth("TESSALY_COM9", nullptr), noTenth("TESSALY_COM10", nullptr);
  EXPECT_EQ(CSerial::ComPortPath(1), first);
  EXPECT_EQ(CSerial::ComPortPath(10), tenth);
  ScopedEnv ninth("TESSALY_COM9", "/dev/ttyUSB0");
  EXPECT_EQ(CSerial::ComPortPath(9), "/dev/ttyUSB0");
  EXPECT_EQ(CSerial::ComPortPath(10), tenth);
}

TEST_F(SerialTest, OpenComPortFollowsTheOverrideAndFailsClosedForAMissingDevice) {
  std::optional<ScopedEnv> com42(std::in_place, "TESSALY_COM42", pty.DevicePath().c_str());
  CSerial port;
  EXPECT_EQ(port.OpenComPort(42, 9600, 8, 0, 0), 1);
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(port.QueryEventMask(), kDefaultEventMask);

  com42.emplace("TESSALY_COM42", "/dev/no-such-serial-port");
  EXPECT_EQ(port.OpenComPort(42, 9600, 8, 0, 0), 0);
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.LastError(), ENOENT);
}

TEST_F(SerialTest, OpenPortWithBadLineSettingsLeavesThePortClosed) {
  CSerial port;
  EXPECT_EQ(port.OpenPort(pty.DevicePath(), 12345, 8, 0, 0), 0);
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.LastError(), EINVAL);
}

TEST_F(SerialTest, OpeningIsExclusiveUntilClosed) {
  CSerial first;
  ASSERT_EQ(first.OpenDevice(pty.DevicePath()), 0);
  EXPECT_EQ(first.OpenDevice(pty.DevicePath()), kErrorAlreadyInitialized);
  EXPECT_TRUE(first.IsOpen());

  CSerial second;
  EXPECT_NE(second.OpenDevice(pty.DevicePath()), 0);
  EXPECT_FALSE(second.IsOpen());

  EXPECT_EQ(first.ClosePort(), 0);
  EXPECT_EQ(first.ClosePort(), 0);
  EXPECT_EQ(second.OpenDevice(pty.DevicePath()), 0);
}

TEST(SerialClosed, EveryOperationReportsTheMissingHandle) {
  CSerial port;
  uint8_t buffer[4];
  uint32_t count = 99;
  struct Call {
    const char* name;
    std::function<int32_t()> call;
    bool countsBytes;
  };
  const std::vector<Call> calls = {
      {"Configure", [&] { return port.Configure(9600, 8, 0, 0); }, false},
      {"SetEventMask", [&] { return port.SetEventMask(kEvRxChar); }, false},
      {"SetEventCharacter", [&] { return port.SetEventCharacter('x'); }, false},
      {"SetFlowControl", [&] { return port.SetFlowControl(0); }, false},
      {"SetReadMode", [&] { return port.SetReadMode(2); }, false},
      {"WaitForEvent", [&] { return port.WaitForEvent(0); }, false},
      {"WriteBytes", [&] { return port.WriteBytes("ab", 2, &count); }, true},
      {"ReadBytes", [&] { return port.ReadBytes(buffer, 4, &count); }, true},
  };
  for (const Call& c : calls) {
    port.ClosePort();  // resets the error
    ASSERT_EQ(port.LastError(), 0);
    count = 99;
    EXPECT_EQ(c.call(), kErrorInvalidHandle) << c.name;
    EXPECT_EQ(port.LastError(), kErrorInvalidHandle) << c.name;
    if (c.countsBytes) {
      EXPECT_EQ(count, 0u) << c.name << ": the count is cleared first";
    }
  }
  for (auto query : {&CSerial::QueryBaudRate, &CSerial::QueryDataBits, &CSerial::QueryParity, &CSerial::QueryStopBits,
                     &CSerial::QueryFlowControl}) {
    EXPECT_EQ((port.*query)(), -1);
    EXPECT_EQ(port.LastError(), kErrorInvalidHandle);
  }
  EXPECT_EQ(port.QueryEventMask(), 0u);
  EXPECT_EQ(port.QueryEventCharacter(), 0);
  EXPECT_EQ(port.LastError(), kErrorInvalidHandle);
}

TEST_F(SerialTest, ModesOutOfRangeAreInvalidArguments) {
  CSerial port;
  ASSERT_EQ(port.OpenDevice(pty.DevicePath()), 0);
  EXPECT_EQ(port.SetReadMode(2), kErrorInvalidArg);
  EXPECT_EQ(port.SetReadMode(-1), kErrorInvalidArg);
  EXPECT_EQ(port.SetFlowControl(3), kErrorInvalidArg);
  EXPECT_EQ(port.SetReadMode(1), 0);
  EXPECT_EQ(port.LastError(), 0);
}

TEST_F(SerialTest, LineSettingsReadBackAsConfigured) {
  struct Case {
    int baud, dataBits, parity, stopBits;
  };
  CSerial port;
  ASSERT_EQ(port.OpenDevice(pty.DevicePath()), 0);
  // A pseudo-terminal keeps the speed and the stop bits; it forces 8 data
  // bits without parity, so those are only seen to be accepted.
  for (const Case& c : {Case{2400, 8, 0, 0}, Case{38400, 7, 1, 0}, Case{115200, 8, 2, 2}}) {
    ASSERT_EQ(port.Configure(c.baud, c.dataBits, c.parity, c.stopBits), 0) << c.baud;
    EXPECT_EQ(port.QueryBaudRate(), c.baud);
    EXPECT_EQ(port.QueryStopBits(), c.stopBits);
    EXPECT_EQ(port.LastError(), 0);
  }
  for (const Case& bad : {Case{12345, 8, 0, 0}, Case{9600, 9, 0, 0}, Case{9600, 8, 3, 0}, Case{9600, 8, 0, 1}})
    EXPECT_EQ(port.Configure(bad.baud, bad.dataBits, bad.parity, bad.stopBits), EINVAL) << bad.baud;
  EXPECT_EQ(port.QueryBaudRate(), 115200) << "a refused configuration changes nothing";

  for (int mode : {1, 2, 0}) {
    ASSERT_EQ(port.SetFlowControl(mode), 0);
    EXPECT_EQ(port.QueryFlowControl(), mode);
  }
  ASSERT_EQ(port.SetEventCharacter('\n', true), 0);
  EXPECT_EQ(port.QueryEventCharacter(), '\n');
  EXPECT_EQ(port.QueryEventMask(), kDefaultEventMask | kEvRxFlag);
}

TEST_F(SerialTest, ReadsReturnWhatHasArrivedAndWritesReachTheLine) {
  CSerial port;
  ASSERT_EQ(port.OpenPort(pty.DevicePath(), 9600, 8, 0, 0), 1);
  uint8_t buffer[16];
  uint32_t count = 99;
  EXPECT_EQ(port.ReadBytes(buffer, sizeof buffer, &count), 0);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(port.WaitForEvent(0), kErrorTimeout);

  WriteLine("abc");
  EXPECT_EQ(port.WaitForEvent(), 0);
  EXPECT_EQ(port.LastEvent() & kEvRxChar, kEvRxChar);
  EXPECT_EQ(port.ReadBytes(buffer, sizeof buffer, &count), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), count), "abc");

  uint32_t written = 0;
  EXPECT_EQ(port.WriteText("hello", &written), 0);
  EXPECT_EQ(written, 5u);
  EXPECT_EQ(ReadLine(5), "hello");
}

TEST_F(SerialTest, WaitingReadsEndWithTheCountOrTheTimeOut) {
  CSerial port;
  ASSERT_EQ(port.OpenPort(pty.DevicePath(), 9600, 8, 0, 0), 1);
  ASSERT_EQ(port.SetReadMode(1), 0);
  uint8_t buffer[8];
  uint32_t count = 0;
  WriteLine("1234");
  EXPECT_EQ(port.ReadBytes(buffer, 4, &count, 1000), 0);
  EXPECT_EQ(count, 4u);
  WriteLine("56");
  EXPECT_EQ(port.ReadBytes(buffer, 4, &count, 20), kErrorTimeout);
  EXPECT_EQ(count, 2u) << "what arrived before the time-out is kept";
}

TEST_F(SerialTest, WritesAreBoundedByTheirTimeOut) {
  CSerial port;
  ASSERT_EQ(port.OpenPort(pty.DevicePath(), 9600, 8, 0, 0), 1);
  // Nobody reads the other end, so the line's buffer fills up.
  const std::vector<uint8_t> lot(1 << 20, 0x55);
  uint32_t written = 0;
  EXPECT_EQ(port.WriteBytes(lot.data(), static_cast<uint32_t>(lot.size()), &written, 20), kErrorTimeout);
  EXPECT_LT(written, lot.size());
}

TEST_F(SerialTest, ASynchronousPortRefusesTimeOuts) {
  CSerial port;
  ASSERT_EQ(port.OpenDevice(pty.DevicePath(), 0, 0, false), 0);
  uint8_t buffer[4];
  EXPECT_EQ(port.ReadBytes(buffer, 4, nullptr, 100), kErrorInvalidFunction);
  EXPECT_EQ(port.WriteBytes("x", 1, nullptr, 100), kErrorInvalidFunction);
  EXPECT_EQ(port.WaitForEvent(100), kErrorInvalidFunction);
  EXPECT_EQ(port.WriteBytes("xy", 2), 0);
  EXPECT_EQ(ReadLine(2), "xy");
}

}  // namespace
}  // namespace tessaly::realtime
