#pragma once
// The command lines of the tools (tessaly-cli, tessaly-sim): a table of
// subcommands, options "--name VALUE" or "--name=VALUE", flags and positional
// arguments. Errors are texts of the table, so they come in both languages.
// Each subcommand's option table is both what it accepts and what its
// --help lists, so the help cannot leave an option out.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/texts.h"

namespace tessaly::base {

struct OptionSpec {
  std::string_view name;  // "--first", "-o"
  bool takesValue = true;
  std::string_view value = {};      // the value as the help writes it: "K", "FILE"; "VALUE" when empty
  std::optional<TextId> help = {};  // what the option does
  std::string_view byDefault = {};  // the value taken when the option is absent, as the help shows it
  // Values that follow the option ("--cursors A B" takes 2); Values() lists
  // them in order.
  int valueCount = 1;
};

// Exit status of a command line that was not understood.
constexpr int kUsageStatus = 2;

// A command line that was not understood: a text with the argument it is about.
struct ArgError {
  TextId text = TextId::ArgUnknownOption;
  std::string subject;
  std::string Message(int language) const;
};

class CommandLine {
 public:
  // Options may stand anywhere among the positional arguments; "--" ends
  // them. False, with `error` set, for an unknown option or a missing value.
  bool Parse(const std::vector<std::string>& args, std::span<const OptionSpec> specs, ArgError& error);

  bool Has(std::string_view name) const;
  // The value given last, or null when the option is absent.
  const std::string* Value(std::string_view name) const;
  // Every value given, in order (for options that may repeat).
  std::vector<std::string> Values(std::string_view name) const;
  const std::vector<std::string>& Positional() const { return positional_; }

  // False (error set) when the option is absent.
  bool Require(std::string_view name, ArgError& error) const;

  // Sets `out` from the option's last value when it is given; false (error
  // set) when that value is not a whole number from lo to hi.
  template <typename T>
  bool Integer(std::string_view name, T lo, T hi, T& out, ArgError& error) const {
    int64_t value = 0;
    if (!IntegerValue(name, lo, hi, value, error)) return false;
    if (Has(name)) out = static_cast<T>(value);
    return true;
  }

 private:
  bool IntegerValue(std::string_view name, int64_t lo, int64_t hi, int64_t& out, ArgError& error) const;

  std::vector<std::pair<std::string, std::string>> options_;  // name and value, in order
  std::vector<std::string> positional_;
};

// A whole decimal number from lo to hi, nothing else in the text.
std::optional<int64_t> ParseInteger(std::string_view text, int64_t lo, int64_t hi);
// A finite number in the C locale's notation, nothing else in the text.
std::optional<double> ParseNumber(std::string_view text);

// The language that "--lang zh" or "--lang en" asks for, English when absent
// or not understood; known before the rest of the line is parsed, so every
// message of a run comes in one language.
int LanguageOption(const std::vector<std::string>& args);

struct Subcommand {
  std::string_view name;
  int (*run)(const std::vector<std::string>& args);    // the arguments after the name
  std::span<const OptionSpec> (*options)() = nullptr;  // the table `run` parses with
  std::optional<TextId> summary = {};                  // what the command does
  std::string_view synopsis = {};                      // its arguments: "FILE --json [options]"
  std::string_view example = {};                       // the arguments of an example run
};

// "usage: PROGRAM NAME SYNOPSIS", what the command does, every option of its
// table with its value, meaning and default, and the example.
std::string CommandHelp(std::string_view program, const Subcommand& command, int language);
// The commands with what each does, and how to ask one for its help.
std::string ProgramHelp(std::string_view program, std::span<const Subcommand> commands, int language);

// Runs the subcommand named by argv[1] with the arguments after it.
// "--help" or "-h" print the program's help, or after a command's name that
// command's, to stdout; "--version" prints the version. A missing or unknown
// name prints one line to stderr, then `usage` when given, and returns 2.
int RunSubcommand(std::string_view program, int argc, char** argv, std::span<const Subcommand> commands,
                  void (*usage)() = nullptr);

// Writes `text` and flushes; 0, or 1 when that failed (stdout closed, disk full).
int PrintTo(std::FILE* stream, const std::string& text);

// "PROGRAM: MESSAGE" on stderr; returns `status`.
int ReportError(std::string_view program, const std::string& message, int status);

}  // namespace tessaly::base
