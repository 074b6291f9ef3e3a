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
    {"--address"},  {"--channels"},     {"--baud"},         {"--pace", false}, {"--delay"},
    {"--pieces"},   {"--gap"},          {"--drop"},         {"--corrupt"},     {"--truncate"},
    {"--seed"},     {"--exception"},    {"--answer-address"}, {"--silent-after"}, {"--exit-after"},
    {"--late-once"}, {"--stray-bytes"}, {"--burst"},        {"--byte-count-zero"},
};

// "K:N": request K (from 1) and a byte count N of 1 to 4096, when the option is given.
bool RequestAndBytes(const CommandLine& line, std::string_view option, int64_t& request, int& bytes,
                     ArgError& error) {
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
         line.Integer("--baud", 50, 4'000'000, o.baud, error) && line.Integer("--delay", 0, 600'000, o.delayMs, error) &&
         line.Integer("--pieces", 1, 255, o.pieces, error) && line.Integer("--gap", 0, 600'000, o.pieceGapMs, error) &&
         Rate(line, "--drop", o.dropRate, error) && Rate(line, "--corrupt", o.corruptRate, error) &&
         Rate(line, "--truncate", o.truncateRate, error) &&
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

int UsageError(const ArgError& error) { return ReportUsageError(error, PrintInstrumentUsage); }

}  // namespace

void PrintInstrumentUsage() {
  std::fputs(
      "usage: tessaly-sim instrument [options]\n"
      "  prints the pseudo-terminal's path on the first line, then answers on it\n"
      "  --address A            instrument address, 0 to 255 (default 1)\n"
      "  --channels N           channels it measures, 1 to 18 (default 18)\n"
      "  --baud B               baud rate of the pacing (default 9600)\n"
      "  --pace                 send every byte at its wire time (10 bits at the baud rate)\n"
      "  --delay MS             wait before every answer\n"
      "  --pieces N             write every answer in N pieces ...\n"
      "  --gap MS               ... this far apart (default 5)\n"
      "  --drop RATE            leave this share of answers out (0 to 1)\n"
      "  --corrupt RATE         change one byte of this share of answers\n"
      "  --truncate RATE        cut this share of answers short\n"
      "  --seed S               seed of the faults (default 1)\n"
      "  --exception CODE       answer every request with this Modbus exception\n"
      "  --answer-address A     answer with this address instead of its own\n"
      "  --silent-after K       answer nothing after K requests\n"
      "  --exit-after K         end after K requests\n"
      "  --late-once K          answer request K (from 1) only after the master's time-out\n"
      "  --stray-bytes K:N      send N noise bytes right after the answer to request K\n"
      "  --burst K:N            send N noise bytes instead of the answer to request K\n"
      "  --byte-count-zero RATE make this share of channel answers claim byte count 0 (good CRC)\n",
      stderr);
}

int RunInstrumentCommand(const std::vector<std::string>& args) {
  CommandLine line;
  ArgError error;
  if (!line.Parse(args, kOptions, error)) return UsageError(error);
  if (!line.Positional().empty()) return UsageError({TextId::ArgUnexpected, line.Positional().front()});
  InstrumentOptions options;
  if (!BuildOptions(line, options, error)) return UsageError(error);
  InstrumentServer server(options);
  std::string reason;
  if (!server.Open(reason)) return base::ReportError(kProgram, reason, 1);
  std::printf("%s\n", server.DevicePath().c_str());
  std::fflush(stdout);
  server.Serve();
  return 0;
}

}  // namespace tessaly::sim
