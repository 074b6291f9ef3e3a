#include "base/command_line.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/format.h"

namespace tessaly::base {
namespace {

const OptionSpec* FindSpec(std::span<const OptionSpec> specs, std::string_view name) {
  for (const OptionSpec& known : specs)
    if (known.name == name) return &known;
  return nullptr;
}

}  // namespace

// A text without "%s" simply ignores the subject.
std::string ArgError::Message(int language) const { return FormatText(Text(text, language), subject.c_str()); }

bool CommandLine::Parse(const std::vector<std::string>& args, std::span<const OptionSpec> specs, ArgError& error) {
  options_.clear();
  positional_.clear();
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      positional_.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const size_t equals = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
    const std::string name = arg.substr(0, equals);
    const OptionSpec* known = FindSpec(specs, name);
    if (!known) {
      error = {TextId::ArgUnknownOption, name};
      return false;
    }
    if (!known->takesValue) {
      if (equals != std::string::npos) {
        error = {TextId::ArgBadValue, arg};
        return false;
      }
      options_.emplace_back(name, std::string());
      continue;
    }
    int missing = std::max(known->valueCount, 1);
    if (equals != std::string::npos) {
      options_.emplace_back(name, arg.substr(equals + 1));
      --missing;
    }
    for (; missing > 0 && i + 1 < args.size(); --missing) options_.emplace_back(name, args[++i]);
    if (missing > 0) {
      error = {TextId::ArgMissingValue, name};
      return false;
    }
  }
  return true;
}

bool CommandLine::Has(std::string_view name) const { return Value(name) != nullptr; }

const std::string* CommandLine::Value(std::string_view name) const {
  for (auto it = options_.rbegin(); it != options_.rend(); ++it)
    if (it->first == name) return &it->second;
  return nullptr;
}

std::vector<std::string> CommandLine::Values(std::string_view name) const {
  std::vector<std::string> values;
  for (const auto& [option, value] : options_)
    if (option == name) values.push_back(value);
  return values;
}

bool CommandLine::Require(std::string_view name, ArgError& error) const {
  if (Has(name)) return true;
  error = {TextId::ArgMissingOption, std::string(name)};
  return false;
}

bool CommandLine::IntegerValue(std::string_view name, int64_t lo, int64_t hi, int64_t& out, ArgError& error) const {
  const std::string* text = Value(name);
  if (!text) return true;
  const std::optional<int64_t> value = ParseInteger(*text, lo, hi);
  if (!value) {
    error = {TextId::ArgBadValue, std::string(name) + " " + *text};
    return false;
  }
  out = *value;
  return true;
}

std::optional<int64_t> ParseInteger(std::string_view text, int64_t lo, int64_t hi) {
  const std::string copy(text);
  if (copy.empty() || !(copy[0] == '-' || (copy[0] >= '0' && copy[0] <= '9'))) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(copy.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value < lo || value > hi) return std::nullopt;
  return value;
}

std::optional<double> ParseNumber(std::string_view text) {
  const std::string copy(text);
  if (copy.empty() || copy[0] == ' ') return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(copy.c_str(), &end);
  if (*end != '\0' || !std::isfinite(value)) return std::nullopt;
  return value;
}

int LanguageOption(const std::vector<std::string>& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--lang=zh" || (args[i] == "--lang" && i + 1 < args.size() && args[i + 1] == "zh")) return kChinese;
    if (args[i] == "--") break;
  }
  return kEnglish;
}

int RunSubcommand(std::string_view program, int argc, char** argv, std::span<const Subcommand> commands,
                  void (*usage)()) {
  const std::vector<std::string> rest(argv + std::min(argc, 2), argv + argc);
  const int language = LanguageOption(rest);
  std::string names;
  for (const Subcommand& command : commands) {
    if (argc >= 2 && command.name == argv[1]) return command.run(rest);
    names += names.empty() ? "" : ", ";
    names += command.name;
  }
  const std::string message = argc < 2 ? FormatText(Text(TextId::ArgMissingCommand, language), names.c_str())
                                       : FormatText(Text(TextId::ArgUnknownCommand, language), argv[1], names.c_str());
  ReportError(program, message, 2);
  if (usage) usage();
  return 2;
}

int ReportError(std::string_view program, const std::string& message, int status) {
  std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(program.size()), program.data(), message.c_str());
  return status;
}

}  // namespace tessaly::base
