#include "instrument_command.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "base/command_line.h"
#include "instrument_server.h"
#include "usage_error.h"

namespace tessaly::sim {
namespace {

using base::ArgError;
using base::CommandLine;
using base::TextId;

constexpr base::OptionSpec kOptions[] = {
    {.name = "--address", .value = "A", .help = TextId::HelpSimAddress, .byDefault = "1"},
    {.name = "--channels", .value = "N", .help = TextId::HelpSimChannelCount, .byDefault = "18"},
    {.name = "--baud", .value = "B", .help = TextId::HelpSimBaud, .byDefault = "9600"},
    {.name = "--com", .value = "N", .help = TextId::HelpSimCom},
    {.name = "--pace", .takesValue = false, .help = TextId::HelpSimPace},
    {.name = "--delay", .value = "MS", .help = TextId::HelpSimDelay, .byDefault = "0"},
    {.name = "--pieces", .value = "N", .help = TextId::HelpSimPieces, .byDefault = "1"},
    {.name = "--gap", .value = "MS", .help = TextId::HelpSimGap, .byDefault = "5"},
    {.name = "--drop", .value = "RATE", .help = TextId::HelpSimDrop, .byDefault = "0"},
    {.name = "--corrupt", .value = "RATE", .help = TextId::HelpSimCorrupt, .byDefault = "0"},
    {.name = "--truncate", .value = "RATE", .help = TextId::HelpSimTruncate, .byDefault = "0"},
    {.name = "--seed", .value = "S", .help = TextId::HelpSimSeed, .byDefault = "1"},
    {.name = "--exception", .value = "CODE", .help = TextId::HelpSimException},
    {.name = "--answer-address", .value = "A", .help = TextId::HelpSimAnswerAddress},
    {.name = "--silent-after", .value = "K", .help = TextId::HelpSimSilentAfter},
    {.name = "--exit-after", .value = "K", .help = TextId::HelpSimExitAfter},
    {.name = "--late-once", .value = "K", .help = TextId::HelpSimLateOnce},
    {.name = "--stray-bytes", .value = "K:N", .help = TextId::HelpSimStrayBytes},
    {.name = "--burst", .value = "K:N", .help = TextId::HelpSimBurst},
    {.name = "--byte-count-zero", .value = "RATE", .help = TextId::HelpSimByteCountZero, .byDefault = "0"},
};

// "K:N": request K (from 1) and a byte count N of 1 to 4096, when the option is given.
bool RequestAndBytes(const CommandLine& line, std::string_view option, int64_t& request, int& bytes, ArgError& error) {
  const std::string* text = line.Value(option);
  if (!text) return true;
  const size_t colon = text->find(':');
  const auto k = colon == std::string::npos ? std::nullopt : base::ParseInteger(text->substr(0, colon), 1, INT64_MAX);
  const auto n = colon == std::string::npos ? std::nullopt : base::ParseInteger(text->substr(colon + 1), 1, 4096);
  if (!k || !n) {
    error = {TextId::ArgBadValue, std::string(option) + " " + *text};
    return false;
  }
  request = *k;
  bytes = static_cast<int>(*n);
  return true;
}

// A rate from 0 to 1 into `out` when the option is given.
bool Rate(const CommandLine& line, std::string_view option, double& out, ArgError& error) {
  const std::string* text = line.Value(option);
  if (!text) return true;
  const std::optional<double> value = base::ParseNumber(*text);
  if (!value || *value < 0 || *value > 1) {
    error = {TextId::ArgBadValue, std::string(option) + " " + *text};
    return false;
  }
  out = *value;
  return true;
}

bool BuildOptions(const CommandLine& line, InstrumentOptions& o, ArgError& error) {
  constexpr int64_t kMaxCount = INT64_MAX;
  o.pace = line.Has("--pace");
  return line.Integer("--address", 0, 255, o.address, error) && line.Integer("--channels", 1, 18, o.channels, error) &&
         line.Integer("--baud", 50, 4'000'000, o.baud, error) &&
         line.Integer("--delay", 0, 600'000, o.delayMs, error) && line.Integer("--pieces", 1, 255, o.pieces, error) &&
         line.Integer("--gap", 0, 600'000, o.pieceGapMs, error) && Rate(line, "--drop", o.dropRate, error) &&
         Rate(line, "--corrupt", o.corruptRate, error) && Rate(line, "--truncate", o.truncateRate, error) &&
         line.Integer<uint64_t>("--seed", 0, UINT64_MAX >> 1, o.seed, error) &&
         line.Integer("--exception", 1, 255, o.exceptionCode, error) &&
         line.Integer("--answer-address", 0, 255, o.answerAddress, error) &&
         line.Integer<int64_t>("--silent-after", 0, kMaxCount, o.silentAfter, error) &&
         line.Integer<int64_t>("--exit-after", 0, kMaxCount, o.exitAfter, error) &&
         line.Integer<int64_t>("--late-once", 1, kMaxCount, o.lateOnce, error) &&
         RequestAndBytes(line, "--stray-bytes", o.strayAfter, o.strayBytes, error) &&
         RequestAndBytes(line, "--burst", o.burstAt, o.burstBytes, error) &&
         Rate(line, "--byte-count-zero", o.byteCountZeroRate, error);
}

int UsageError(const ArgError& error) { return ReportUsageError(error, "instrument"); }

}  // namespace

std::span<const base::OptionSpec> InstrumentCommandOptions() { return kOptions; }

int RunInstrumentCommand(const std::vector<std::string>& args) {
  CommandLine line;
  ArgError error;
  if (!line.Parse(args, kOptions, error)) return UsageError(error);
  if (!line.Positional().empty()) return UsageError({TextId::ArgUnexpected, line.Positional().front()});
  InstrumentOptions options;
  if (!BuildOptions(line, options, error)) return UsageError(error);
  int comPort = 0;
  if (line.Has("--com") && !InstrumentServer::ServesComPorts()) return UsageError({TextId::SimComWindowsOnly, "--com"});
  if (!line.Integer("--com", 1, 255, comPort, error)) return UsageError(error);
  InstrumentServer server(options, comPort);
  std::string reason;
  if (!server.Open(reason)) return base::ReportError(kProgram, reason, 1);
  std::printf("%s\n", server.DevicePath().c_str());
  std::fflush(stdout);
  server.Serve();
  return 0;
}

}  // namespace tessaly::sim
