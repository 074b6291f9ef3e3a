#pragma once
// Runs a program and captures what it wrote: to its end, or in the
// background while the test talks to it (process_posix.cpp, process_win32.cpp).
#include <cstdint>
#include <string>
#include <vector>

namespace tessaly::testing {

struct ProcessResult {
  int exitCode = -1;  // -1 when it did not exit normally (killed by a signal or terminated)
  std::string out;
  std::string err;
};

// A started program. `argv[0]` is the program's path; no shell is involved.
class ChildProcess {
 public:
  explicit ChildProcess(const std::vector<std::string>& argv);
  ~ChildProcess();  // kills and reaps a child that was not finished
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The next line of its stdout, without the line feed; false at the end of
  // its output. Its stderr is read only by Finish, so it should stay short.
  bool ReadLine(std::string& line);
  // POSIX: sends `signal`. Windows: SIGINT becomes Ctrl-C (the child has a
  // console of its own), anything else terminates it.
  void Signal(int signal);
  // Everything it writes from now on (and what ReadLine left over), and its
  // exit, once it has ended.
  ProcessResult Finish();

 private:
  // The process id and pipe descriptors, or handles on Windows; -1 for none.
  intptr_t process_ = -1;
  intptr_t out_ = -1;
  intptr_t err_ = -1;
  std::string unread_;      // stdout read past the last line handed out
  std::string startError_;  // why the program could not be started, if it could not
};

ProcessResult RunProcess(const std::vector<std::string>& argv);

}  // namespace tessaly::testing
