// The serial line on Windows, against the simulated recorder that
// tools/test-windows runs on Linux and shows to wine as the COM port named by
// TESSALY_TEST_INSTRUMENT_COM.
#include <cstdlib>

#include <gtest/gtest.h>

#include "base/texts.h"
#include "instrument.h"
#include "realtime/comm_log.h"
#include "realtime/device.h"
#include "realtime/serial.h"
#include "support/platform.h"

namespace tessaly::realtime {
namespace {

// The poll of the simulator's count whose values `values` are; -1 when none is.
int PollOf(const float (&values)[kMaxChannels]) {
  for (int poll = 0; poll < 100'000; ++poll) {
    bool all = true;
    for (int ch = 0; ch < kMaxChannels && all; ++ch) all = values[ch] == sim::Instrument::ChannelValue(ch, poll);
    if (all) return poll;
  }
  return -1;
}

TEST(ComPort, ExchangesModbusWithTheSimulatedRecorder) {
  const char* com = std::getenv("TESSALY_TEST_INSTRUMENT_COM");
  if (!com || !*com) GTEST_SKIP() << "no simulated recorder on a COM port (tools/test-windows attaches one)";
  const int number = std::atoi(com);
  CSerial port;
  ASSERT_EQ(port.OpenComPort(number, 9600, 8, 2, 0), 1) << port.LastError();
  EXPECT_EQ(port.QueryBaudRate(), 9600);
  EXPECT_EQ(port.QueryDataBits(), 8);
  if (!testing::UnderWine()) {
    EXPECT_EQ(port.QueryParity(), 2) << "wine reads even parity back wrong";
  }
  EXPECT_EQ(port.QueryStopBits(), 0);
  ASSERT_EQ(port.Configure(9600, 8, 0, 0), 0);
  EXPECT_EQ(port.QueryParity(), 0);

  CSerial second;
  if (!testing::UnderWine()) {
    EXPECT_EQ(second.OpenComPort(number, 9600, 8, 0, 0), 0) << "wine does not refuse a second open";
    EXPECT_EQ(second.LastError(), 5) << "ERROR_ACCESS_DENIED";
  }

  // Nothing is pending: a read in mode 0 returns at once with nothing, a
  // waiting read ends with its time-out.
  uint8_t bytes[8];
  uint32_t count = 99;
  EXPECT_EQ(port.ReadBytes(bytes, sizeof bytes, &count, 0), 0);
  EXPECT_EQ(count, 0u);
  ASSERT_EQ(port.SetReadMode(1), 0);
  EXPECT_EQ(port.ReadBytes(bytes, sizeof bytes, &count, 50), kErrorTimeout);
  EXPECT_EQ(count, 0u);
  ASSERT_EQ(port.SetReadMode(0), 0);

  CommLogLines log;
  CCorvane device(1, &port, &log, base::kEnglish);
  float sync = 0;
  ASSERT_EQ(device.ReadSyncValue(sync), kSuccess);
  float first[kMaxChannels] = {}, next[kMaxChannels] = {};
  ASSERT_EQ(device.ReadChannels(first), kSuccess);
  ASSERT_EQ(device.ReadChannels(next), kSuccess);
  const int poll = PollOf(first);
  ASSERT_GE(poll, 0) << "the values are the simulator's waveforms";
  EXPECT_EQ(PollOf(next), poll + 1);
  EXPECT_EQ(log.Lines().size(), 6u);
}

}  // namespace
}  // namespace tessaly::realtime
