#pragma once
// What a command-line program does first, the same on every platform.
#include <string>
#include <vector>

namespace tessaly::base {

// stdout and stderr carry the bytes as written: Windows' text mode would add
// a CR before every LF of a CSV or a JSON text.
void SetBinaryStandardStreams();

// The program's arguments in UTF-8 (on Windows read from the wide command
// line, whatever the code page), argv[0] first.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace tessaly::base
