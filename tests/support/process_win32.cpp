#include "support/process.h"

#include <windows.h>

#include <csignal>
#include <string>
#include <thread>

#include "base/utf16.h"

namespace tessaly::testing {
namespace {

HANDLE Handle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }

// One argument quoted the way the C runtime splits a command line.
std::wstring Quoted(const std::string& arg) {
  const std::wstring wide = base::Utf8ToUtf16(arg);
  if (!wide.empty() && wide.find_first_of(L" \t\"") == std::wstring::npos) return wide;
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : wide) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

// Reads what remains of `pipe` into `sink`, then closes it.
void Drain(HANDLE pipe, std::string& sink) {
  char buffer[65536];
  DWORD n = 0;
  while (::ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) && n > 0) sink.append(buffer, n);
  ::CloseHandle(pipe);
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
  if (!::CreatePipe(&outRead, &outWrite, &inherit, 0)) return;
  if (!::CreatePipe(&errRead, &errWrite, &inherit, 0)) {
    ::CloseHandle(outRead);
    ::CloseHandle(outWrite);
    return;
  }
  ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  ::SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
  std::wstring commandLine;
  for (const std::string& arg : argv) commandLine += (commandLine.empty() ? L"" : L" ") + Quoted(arg);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = outWrite;
  startup.hStdError = errWrite;
  PROCESS_INFORMATION info{};
  // A process group of its own, so that a Ctrl-C reaches the child alone.
  if (::CreateProcessW(base::Utf8ToUtf16(argv[0]).c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                       CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &info)) {
    ::CloseHandle(info.hThread);
    process_ = reinterpret_cast<intptr_t>(info.hProcess);
  } else {
    startError_ = "CreateProcessW failed: " + std::to_string(::GetLastError());
  }
  ::CloseHandle(outWrite);
  ::CloseHandle(errWrite);
  out_ = reinterpret_cast<intptr_t>(outRead);
  err_ = reinterpret_cast<intptr_t>(errRead);
}

ChildProcess::~ChildProcess() {
  if (process_ != -1) {
    ::TerminateProcess(Handle(process_), 1);
    Finish();
  }
  for (intptr_t pipe : {out_, err_})
    if (pipe != -1) ::CloseHandle(Handle(pipe));
}

bool ChildProcess::ReadLine(std::string& line) {
  for (;;) {
    if (const size_t end = unread_.find('\n'); end != std::string::npos) {
      line = unread_.substr(0, end);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      unread_.erase(0, end + 1);
      return true;
    }
    char buffer[4096];
    DWORD n = 0;
    if (out_ == -1 || !::ReadFile(Handle(out_), buffer, sizeof buffer, &n, nullptr) || n == 0) return false;
    unread_.append(buffer, n);
  }
}

void ChildProcess::Signal(int signal) {
  if (process_ == -1) return;
  if (signal == SIGINT) {
    ::GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, ::GetProcessId(Handle(process_)));
    return;
  }
  ::TerminateProcess(Handle(process_), 1);
}

ProcessResult ChildProcess::Finish() {
  ProcessResult result;
  result.out.swap(unread_);
  // Both pipes are drained together, so a child filling one never blocks.
  std::thread errors;
  if (err_ != -1) errors = std::thread(Drain, Handle(err_), std::ref(result.err));
  if (out_ != -1) Drain(Handle(out_), result.out);
  if (errors.joinable()) errors.join();
  out_ = err_ = -1;
  if (process_ == -1) {
    result.err += startError_;
    return result;
  }
  ::WaitForSingleObject(Handle(process_), INFINITE);
  DWORD code = 0;
  if (::GetExitCodeProcess(Handle(process_), &code)) result.exitCode = static_cast<int>(code);
  ::CloseHandle(Handle(process_));
  process_ = -1;
  return result;
}

ProcessResult RunProcess(const std::vector<std::string>& argv) { return ChildProcess(argv).Finish(); }

}  // namespace tessaly::testing
