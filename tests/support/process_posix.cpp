#include "support/process.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace tessaly::testing {
namespace {

int Fd(intptr_t fd) { return static_cast<int>(fd); }
pid_t Pid(intptr_t pid) { return static_cast<pid_t>(pid); }

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
  int outPipe[2];
  int errPipe[2];
  if (::pipe(outPipe) != 0) return;
  if (::pipe(errPipe) != 0) {
    ::close(outPipe[0]);
    ::close(outPipe[1]);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, outPipe[0]);
  posix_spawn_file_actions_addclose(&actions, errPipe[0]);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) process_ = pid;
  posix_spawn_file_actions_destroy(&actions);
  ::close(outPipe[1]);
  ::close(errPipe[1]);
  out_ = outPipe[0];
  err_ = errPipe[0];
}

ChildProcess::~ChildProcess() {
  if (process_ > 0) {
    ::kill(Pid(process_), SIGKILL);
    Finish();
  }
  for (intptr_t fd : {out_, err_})
    if (fd >= 0) ::close(Fd(fd));
}

bool ChildProcess::ReadLine(std::string& line) {
  for (;;) {
    if (const size_t end = unread_.find('\n'); end != std::string::npos) {
      line = unread_.substr(0, end);
      unread_.erase(0, end + 1);
      return true;
    }
    char buffer[4096];
    const ssize_t n = out_ < 0 ? 0 : ::read(Fd(out_), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    unread_.append(buffer, static_cast<size_t>(n));
  }
}

void ChildProcess::Signal(int signal) {
  if (process_ > 0) ::kill(Pid(process_), signal);
}

ProcessResult ChildProcess::Finish() {
  ProcessResult result;
  result.out.swap(unread_);
  // Both pipes are drained together, so a child filling one never blocks.
  pollfd fds[2] = {{Fd(out_), POLLIN, 0}, {Fd(err_), POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open = (out_ >= 0) + (err_ >= 0);
  while (open > 0) {
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[65536];
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        ::close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  out_ = err_ = -1;
  if (process_ <= 0) return result;
  int status = 0;
  while (::waitpid(Pid(process_), &status, 0) < 0 && errno == EINTR) {}
  process_ = -1;
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  return result;
}

ProcessResult RunProcess(const std::vector<std::string>& argv) { return ChildProcess(argv).Finish(); }

}  // namespace tessaly::testing
