#include "instrument_server.h"

#include <algorithm>

#include "base/format.h"
#include "base/texts.h"
#include "realtime/modbus.h"

// What every line shares: the request handling and the answers' timing. The
// platform's files only move bytes.
namespace tessaly::sim {

InstrumentServer::InstrumentServer(const InstrumentOptions& options, int comPort)
    : options_(options), comPort_(comPort), instrument_(options) {}

InstrumentServer::~InstrumentServer() {
  Stop();
  if (thread_.joinable()) thread_.join();
}

bool InstrumentServer::Open(std::string& error) { return OpenLine(error); }

std::string InstrumentServer::CannotOpen(const std::string& path, int code) {
  return base::FormatText(base::Text(base::TextId::SimComOpenFailed, base::kEnglish), path.c_str(), code);
}

std::string InstrumentServer::CannotSetUp(const std::string& path, int code) {
  return base::FormatText(base::Text(base::TextId::SimComSetupFailed, base::kEnglish), path.c_str(), code);
}

void InstrumentServer::Start() {
  thread_ = std::thread([this] { Serve(); });
}

void InstrumentServer::Stop() {
  {
    std::lock_guard lock(mutex_);
    if (stop_) return;
    stop_ = true;
  }
  stopped_.notify_all();
  if (line_) WakeReader();
}

bool InstrumentServer::WaitUntil(Clock::time_point when) {
  std::unique_lock lock(mutex_);
  return !stopped_.wait_until(lock, when, [this] { return stop_; });
}

void InstrumentServer::Serve() {
  if (!line_) return;
  std::vector<Bytes> answers;
  uint8_t buffer[256];
  while (!instrument_.Finished()) {
    const size_t n = ReadLine(buffer, sizeof buffer);
    if (n == 0) return;
    const Clock::time_point received = Clock::now();
    answers.clear();
    const uint64_t before = instrument_.Requests();
    instrument_.Receive(buffer, n, answers);
    requests_ = instrument_.Requests();
    // The master asks one request at a time, so a late request's answer is
    // the last one of the bytes that completed it.
    bool late = false;
    for (uint64_t r = before + 1; r <= instrument_.Requests(); ++r) late = late || instrument_.AnswersLate(r);
    for (size_t i = 0; i < answers.size(); ++i) {
      const bool thisLate = late && i + 1 == answers.size();
      Send(answers[i], thisLate ? received + std::chrono::milliseconds(kLateAnswerMs) : received);
    }
  }
}

void InstrumentServer::Send(const Bytes& answer, Clock::time_point requestEnd) {
  const auto byteTime = std::chrono::nanoseconds(10'000'000'000LL / std::max(options_.baud, 1));
  // With pacing, the request itself took its wire time to arrive.
  Clock::time_point next = requestEnd + std::chrono::milliseconds(options_.delayMs);
  if (options_.pace) next += byteTime * static_cast<int64_t>(realtime::kRequestSize);
  if (!WaitUntil(next)) return;
  const size_t pieces = static_cast<size_t>(std::clamp<int>(options_.pieces, 1, static_cast<int>(answer.size())));
  size_t sent = 0;
  for (size_t piece = 0; piece < pieces; ++piece) {
    const size_t end = answer.size() * (piece + 1) / pieces;
    if (piece > 0 && !WaitUntil(Clock::now() + std::chrono::milliseconds(options_.pieceGapMs))) return;
    if (!options_.pace) {
      if (!WriteAll(answer.data() + sent, end - sent)) return;
      sent = end;
      continue;
    }
    next = std::max(next, Clock::now());
    for (; sent < end; ++sent) {
      next += byteTime;
      if (!WaitUntil(next) || !WriteAll(answer.data() + sent, 1)) return;
    }
  }
}

}  // namespace tessaly::sim
