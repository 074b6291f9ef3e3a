#pragma once
// What the tessaly-sim commands share: their program name, their table, and
// how they refuse a command line they do not understand.
#include <span>
#include <string_view>

#include "base/command_line.h"

namespace tessaly::sim {

constexpr std::string_view kProgram = "tessaly-sim";

// Every subcommand with its options, what it does and an example.
std::span<const base::Subcommand> Commands();

// The help of every command on stderr.
void PrintUsage();

// "tessaly-sim: MESSAGE" and the help of `command` on stderr; returns 2.
int ReportUsageError(const base::ArgError& error, std::string_view command);

}  // namespace tessaly::sim
