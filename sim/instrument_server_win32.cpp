#include "instrument_server.h"

// Windows has no pseudo-terminals: the simulated recorder runs on Linux (or
// under wine, where tools/test-windows shows its pseudo-terminal as a COM
// port). Opening says so instead of pretending to serve.
namespace tessaly::sim {
namespace {

constexpr const char* kNoPseudoTerminals = "pseudo-terminals do not exist on Windows";

}  // namespace

PseudoTerminal::~PseudoTerminal() = default;

bool PseudoTerminal::Open(std::string& error) {
  error = kNoPseudoTerminals;
  return false;
}

InstrumentServer::InstrumentServer(const InstrumentOptions& options) : options_(options), instrument_(options) {}

InstrumentServer::~InstrumentServer() = default;

bool InstrumentServer::Open(std::string& error) { return pty_.Open(error); }

void InstrumentServer::Serve() {}
void InstrumentServer::Start() {}
void InstrumentServer::Stop() {}

}  // namespace tessaly::sim
