#include "base/command_line.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/format.h"
#include "base/program_start.h"

namespace tessaly::base {
namespace {

// "tessaly-cli csv" while RunSubcommand runs that command: an unknown option
// points at its help.
std::string runningCommand;

const OptionSpec* FindSpec(std::span<const OptionSpec> specs, std::string_view name) {
  for (const OptionSpec& known : specs)
    if (known.name == name) return &known;
  return nullptr;
}

// Whether the arguments ask for help before any "--".
bool AsksForHelp(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}

// "  NAME VALUE" padded to the column of the descriptions, then `text`.
constexpr size_t kHelpColumn = 30;
std::string HelpLine(std::string head, const std::string& text) {
  head.insert(0, "  ");
  head.append(head.size() < kHelpColumn ? kHelpColumn - head.size() : 2, ' ');
  return head + text + "\n";
}

}  // namespace

// A text without "%s" simply ignores the subject.
std::string ArgError::Message(int language) const {
  std::string message = FormatText(Text(text, language), subject.c_str());
  if (text == TextId::ArgUnknownOption && !runningCommand.empty())
    message += FormatText(Text(TextId::HelpSeeCommandHelp, language), runningCommand.c_str());
  return message;
}

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

std::string CommandHelp(std::string_view program, const Subcommand& command, int language) {
  const std::string name = std::string(program) + " " + std::string(command.name);
  std::string usage = name;
  if (!command.synopsis.empty()) usage += " " + std::string(command.synopsis);
  std::string help = FormatText(Text(TextId::HelpUsage, language), usage.c_str()) + "\n";
  if (command.summary) help += Text(*command.summary, language) + std::string("\n");
  help += "\n" + std::string(Text(TextId::HelpOptions, language)) + "\n";
  const std::span<const OptionSpec> options = command.options ? command.options() : std::span<const OptionSpec>();
  for (const OptionSpec& option : options) {
    std::string head(option.name);
    if (option.takesValue) head += " " + std::string(option.value.empty() ? "VALUE" : option.value);
    std::string text = option.help ? Text(*option.help, language) : "";
    if (!option.byDefault.empty())
      text += FormatText(Text(TextId::HelpDefault, language), std::string(option.byDefault).c_str());
    help += HelpLine(head, text);
  }
  help += HelpLine("-h, --help", Text(TextId::HelpHelpOption, language));
  if (!command.example.empty())
    help += "\n" + std::string(Text(TextId::HelpExample, language)) + "\n  " + name + " " +
            std::string(command.example) + "\n";
  return help;
}

std::string ProgramHelp(std::string_view program, std::span<const Subcommand> commands, int language) {
  const std::string name(program);
  std::string help = FormatText(Text(TextId::HelpUsage, language), (name + " COMMAND [options]").c_str()) + "\n\n";
  help += Text(TextId::HelpCommands, language) + std::string("\n");
  for (const Subcommand& command : commands)
    help += HelpLine(std::string(command.name), command.summary ? Text(*command.summary, language) : "");
  help += "\n" + FormatText(Text(TextId::HelpCommandHelp, language), name.c_str()) + "\n";
  help += FormatText(Text(TextId::HelpVersion, language), name.c_str()) + "\n";
  return help;
}

int RunSubcommand(std::string_view program, int argc, char** argv, std::span<const Subcommand> commands,
                  void (*usage)()) {
  SetBinaryStandardStreams();
  const std::vector<std::string> args = ProgramArguments(argc, argv);
  const std::string first = args.size() >= 2 ? args[1] : std::string();
  const std::vector<std::string> rest(args.begin() + static_cast<ptrdiff_t>(std::min<size_t>(args.size(), 2)),
                                      args.end());
  const int language = LanguageOption(rest);
  if (first == "--help" || first == "-h") return PrintTo(stdout, ProgramHelp(program, commands, language));
  if (first == "--version") return PrintTo(stdout, std::string(program) + " " + TESSALY_VERSION + "\n");
  std::string names;
  for (const Subcommand& command : commands) {
    if (args.size() >= 2 && command.name == first) {
      if (AsksForHelp(rest)) return PrintTo(stdout, CommandHelp(program, command, language));
      runningCommand = std::string(program) + " " + std::string(command.name);
      return command.run(rest);
    }
    names += names.empty() ? "" : ", ";
    names += command.name;
  }
  const std::string message = args.size() < 2
                                  ? FormatText(Text(TextId::ArgMissingCommand, language), names.c_str())
                                  : FormatText(Text(TextId::ArgUnknownCommand, language), first.c_str(), names.c_str());
  ReportError(program, message, kUsageStatus);
  if (usage) usage();
  return kUsageStatus;
}

int PrintTo(std::FILE* stream, const std::string& text) {
  const bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size() && std::fflush(stream) == 0;
  return written ? 0 : 1;
}

int ReportError(std::string_view program, const std::string& message, int status) {
  std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(program.size()), program.data(), message.c_str());
  return status;
}

}  // namespace tessaly::base
