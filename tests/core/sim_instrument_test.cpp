#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "instrument.h"
#include "instrument_server.h"
#include "realtime/comm_log.h"
#include "realtime/device.h"
#include "realtime/modbus.h"
#include "realtime/serial.h"

namespace tessaly::sim {
namespace {

using realtime::BuildRequest;
using realtime::CrcMatches;
using realtime::kReadHoldingRegisters;
using realtime::kReadInputRegisters;
using realtime::kSyncRegister;

const realtime::Request kSync = BuildRequest(1, kReadHoldingRegisters, kSyncRegister, 2);

realtime::Request Channels(int n) { return BuildRequest(1, kReadInputRegisters, 0, static_cast<uint16_t>(2 * n)); }

std::vector<Bytes> Feed(Instrument& instrument, const std::vector<realtime::Request>& requests) {
  std::vector<Bytes> answers;
  for (const auto& r : requests) instrument.Receive(r.data(), r.size(), answers);
  return answers;
}

TEST(Instrument, AnswersTheSyncAndChannelRequestsWithWaveformValues) {
  InstrumentOptions options;
  options.channels = 4;
  Instrument instrument(options);
  const auto answers = Feed(instrument, {kSync, Channels(4), Channels(2)});
  ASSERT_EQ(answers.size(), 3u);
  EXPECT_EQ(answers[0].size(), 9u);
  EXPECT_EQ(realtime::DecodeFloatBE(answers[0].data() + 3), Instrument::kSyncValue);
  ASSERT_EQ(answers[1].size(), 21u);
  EXPECT_EQ(answers[1][2], 16);
  EXPECT_EQ(realtime::DecodeFloatBE(answers[1].data() + 3 + 12), Instrument::ChannelValue(3, 0));
  EXPECT_EQ(realtime::DecodeFloatBE(answers[2].data() + 3 + 4), Instrument::ChannelValue(1, 1)) << "next poll";
  for (const Bytes& a : answers) {
    EXPECT_EQ(a[0], 1);
    EXPECT_TRUE(CrcMatches(a.data(), a.size() - 2));
  }
  EXPECT_NE(Instrument::ChannelValue(0, 0), Instrument::ChannelValue(0, 1)) << "the values move";
}

TEST(Instrument, FindsFramesInTheByteStream) {
  Instrument instrument{InstrumentOptions{}};
  std::vector<Bytes> answers;
  const Bytes noise = {0x55, 0x01, 0x04};
  instrument.Receive(noise.data(), noise.size(), answers);
  const auto other = BuildRequest(2, kReadHoldingRegisters, kSyncRegister, 2);
  instrument.Receive(other.data(), other.size(), answers);
  instrument.Receive(kSync.data(), 5, answers);
  EXPECT_TRUE(answers.empty());
  instrument.Receive(kSync.data() + 5, 3, answers);
  EXPECT_EQ(answers.size(), 1u);
  EXPECT_EQ(instrument.Requests(), 1u) << "another address's request is not ours";
}

TEST(Instrument, RefusesWhatTheRecorderDoesNotHave) {
  struct Case {
    const char* name;
    realtime::Request request;
    int exceptionOption;
    uint8_t function, code;
  };
  const std::vector<Case> cases = {
      {"more channels than it has", Channels(5), 0, 0x84, Instrument::kIllegalAddress},
      {"another holding register", BuildRequest(1, kReadHoldingRegisters, 0x1000, 2), 0, 0x83,
       Instrument::kIllegalAddress},
      {"another function", BuildRequest(1, 0x06, 0, 1), 0, 0x86, Instrument::kIllegalFunction},
      {"exception on request", kSync, 4, 0x83, 4},
  };
  for (const Case& c : cases) {
    InstrumentOptions options;
    options.channels = 4;
    options.exceptionCode = c.exceptionOption;
    Instrument instrument(options);
    const auto answers = Feed(instrument, {c.request});
    ASSERT_EQ(answers.size(), 1u) << c.name;
    ASSERT_EQ(answers[0].size(), 5u) << c.name;
    EXPECT_EQ(answers[0][1], c.function) << c.name;
    EXPECT_EQ(answers[0][2], c.code) << c.name;
    EXPECT_TRUE(CrcMatches(answers[0].data(), 3)) << c.name;
  }
}

TEST(Instrument, DamagesAndWithholdsAnswersOnRequest) {
  struct Case {
    const char* name;
    InstrumentOptions options;
    size_t expectedAnswers;
  };
  auto with = [](auto set) {
    InstrumentOptions o;
    set(o);
    return o;
  };
  const std::vector<Case> cases = {
      {"drop", with([](auto& o) { o.dropRate = 1; }), 0},
      {"corrupt", with([](auto& o) { o.corruptRate = 1; }), 4},
      {"truncate", with([](auto& o) { o.truncateRate = 1; }), 4},
      {"other address", with([](auto& o) { o.answerAddress = 9; }), 4},
      {"silent after 2", with([](auto& o) { o.silentAfter = 2; }), 2},
      {"exit after 3", with([](auto& o) { o.exitAfter = 3; }), 3},
  };
  for (const Case& c : cases) {
    Instrument instrument(c.options);
    const auto answers = Feed(instrument, {kSync, Channels(18), Channels(18), Channels(18)});
    ASSERT_EQ(answers.size(), c.expectedAnswers) << c.name;
    for (size_t i = 0; i < answers.size(); ++i) {
      const size_t whole = i == 0 ? 9 : 77;
      const Bytes& a = answers[i];
      if (c.options.corruptRate > 0) {
        EXPECT_EQ(a.size(), whole) << c.name;
        EXPECT_FALSE(CrcMatches(a.data(), a.size() - 2)) << c.name;
      } else if (c.options.truncateRate > 0) {
        EXPECT_LT(a.size(), whole) << c.name;
        EXPECT_GE(a.size(), 1u) << c.name;
      } else {
        EXPECT_EQ(a.size(), whole) << c.name;
        EXPECT_EQ(a[0], c.options.answerAddress >= 0 ? c.options.answerAddress : 1) << c.name;
        EXPECT_TRUE(CrcMatches(a.data(), a.size() - 2)) << c.name;
      }
    }
    EXPECT_EQ(instrument.Finished(), c.options.exitAfter >= 0) << c.name;
    EXPECT_EQ(instrument.Requests(), c.options.exitAfter >= 0 ? 3u : 4u) << c.name;
  }
}

TEST(Instrument, FaultsFollowTheSeed) {
  auto run = [](uint64_t seed) {
    InstrumentOptions o;
    o.dropRate = o.corruptRate = o.truncateRate = 0.3;
    o.seed = seed;
    Instrument instrument(o);
    std::vector<realtime::Request> requests(40, Channels(18));
    return Feed(instrument, requests);
  };
  const auto a = run(7);
  EXPECT_EQ(a, run(7));
  EXPECT_NE(a, run(8));
  EXPECT_GT(a.size(), 0u);
  EXPECT_LT(a.size(), 40u);
}

// On its platform's line: a pseudo-terminal, or on Windows one end of the COM
// port pair that tools/test-windows links and names in TESSALY_TEST_COM_PAIR
// ("8:9", the server's port first). Leaving the test stops the server while
// it waits for bytes.
TEST(InstrumentServer, AnswersInPiecesOnItsLine) {
  int serverCom = 0;
  std::string clientPath;
  if (InstrumentServer::ServesComPorts()) {
    const char* pair = std::getenv("TESSALY_TEST_COM_PAIR");
    int clientCom = 0;
    if (!pair || std::sscanf(pair, "%d:%d", &serverCom, &clientCom) != 2)
      GTEST_SKIP() << "no COM port pair (tools/test-windows links one)";
    clientPath = realtime::CSerial::ComPortPath(clientCom);
  }
  InstrumentOptions options;
  options.pieces = 4;
  options.pieceGapMs = 3;
  InstrumentServer server(options, serverCom);
  std::string error;
  ASSERT_TRUE(server.Open(error)) << error;
  if (clientPath.empty()) clientPath = server.DevicePath();
  server.Start();
  realtime::CSerial port;
  ASSERT_EQ(port.OpenPort(clientPath, 115200, 8, 0, 0), 1) << port.LastError();
  realtime::CommLogLines log;
  realtime::CCorvane device(1, &port, &log, 0);
  float values[realtime::kMaxChannels] = {};
  for (uint64_t poll = 0; poll < 3; ++poll) {
    ASSERT_EQ(device.ReadChannels(values), realtime::kSuccess) << poll;
    EXPECT_EQ(values[17], Instrument::ChannelValue(17, poll));
  }
  EXPECT_EQ(log.Lines().size(), 6u);
  EXPECT_EQ(server.Requests(), 3u);
}

}  // namespace
}  // namespace tessaly::sim
