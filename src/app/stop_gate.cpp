#include "app/stop_gate.h"

#include <cstdlib>
#include <mutex>

#include "base/error.h"
#include "platform/stop_request.h"
#include "session/termination.h"

namespace quenda {
namespace {

// The run that stop requests end: none yet, one, or its end has passed.
struct StopGate {
  std::mutex mutex;
  Session* session = nullptr;
  bool runOver = false;
};

// Never destroyed: the watcher may take a request while the process exits.
StopGate& Gate() {
  static StopGate* const gate = new StopGate;
  return *gate;
}

}  // namespace

void WatchProcessStopRequests() {
  FailWritesPastFileSizeLimit();
  WatchStopRequests([](const std::string& name) { RequestStop("Signal " + name); });
}

void RequestStop(const std::string& cause) {
  StopGate& gate = Gate();
  // Held while the run ends: the session cannot go before the process does.
  const std::lock_guard<std::mutex> lock(gate.mutex);
  if (gate.session != nullptr) {
    StopRun(*gate.session, cause);  // returns when the run is ending on its own
  } else if (!gate.runOver) {
    std::_Exit(kExitStopped);  // before the run: nothing to end in order
  }
}

StopWatch::StopWatch(Session& session) {
  const std::lock_guard<std::mutex> lock(Gate().mutex);
  Gate().session = &session;
  Gate().runOver = false;
}

StopWatch::~StopWatch() {
  const std::lock_guard<std::mutex> lock(Gate().mutex);
  Gate().session = nullptr;
  Gate().runOver = true;
}

}  // namespace quenda
