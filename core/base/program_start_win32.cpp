#include "base/program_start.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>

#include "base/utf16.h"

namespace tessaly::base {

void SetBinaryStandardStreams() {
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!wide) return {argv, argv + argc};
  std::vector<std::string> args;
  for (int i = 0; i < count; ++i) args.push_back(Utf16ToUtf8(wide[i]));
  ::LocalFree(wide);
  return args;
}

}  // namespace tessaly::base
