// The command lines of the tools: options, whole numbers, numbers and the
// "YYYY-MM-DD HH:MM:SS" moments, each argument as a zero-separated piece.
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/command_line.h"
#include "base/number_text.h"
#include "record/record_time.h"

namespace {

constexpr tessaly::base::OptionSpec kOptions[] = {
    {"--first"}, {"--count"}, {"--start"}, {"--stop"}, {"--interval"}, {"--lang"}, {"--json", false}, {"-o"},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessaly;
  std::vector<std::string> args(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0)
      args.emplace_back();
    else
      args.back() += static_cast<char>(data[i]);
  }
  for (const std::string& arg : args) {
    if (const auto fields = record::ParseCalendarText(arg)) {
      if (!record::RecordTime::FromCalendar(fields->year, fields->month, fields->day, fields->hour, fields->minute,
                                            fields->second)
               .IsValid())
        std::abort();
    }
    if (const auto number = base::ParseNumber(arg); number && !std::isfinite(*number)) std::abort();
    if (const auto whole = base::ParseInteger(arg, -1000, 1000); whole && (*whole < -1000 || *whole > 1000))
      std::abort();
    base::LeadingDecimal(arg);
    base::LeadingInteger(arg);
  }
  base::LanguageOption(args);
  base::CommandLine line;
  base::ArgError error;
  if (!line.Parse(args, kOptions, error)) {
    error.Message(0);
    return 0;
  }
  uint32_t first = 0;
  int64_t count = 0;
  line.Integer<uint32_t>("--first", 0, UINT32_MAX, first, error);
  line.Integer<int64_t>("--count", 1, INT64_MAX, count, error);
  line.Values("-o");
  return 0;
}
