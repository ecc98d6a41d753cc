#include <pthread.h>
#include <signal.h>

#include <thread>

#include "platform/stop_request.h"

namespace quenda {
namespace {

sigset_t StopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  return set;
}

}  // namespace

void WatchStopRequests(std::function<void(const std::string&)> onStop) {
  // Blocked in this thread and in every thread started later, taken by the watcher alone.
  const sigset_t set = StopSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  std::thread([set, onStop = std::move(onStop)] {
    for (;;) {
      int signal = 0;
      if (sigwait(&set, &signal) != 0) continue;
      onStop(signal == SIGTERM ? "SIGTERM" : "SIGINT");
    }
  }).detach();
}

void FailWritesPastFileSizeLimit() {
  struct sigaction ignore = {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGXFSZ, &ignore, nullptr);
}

void ReleaseStopRequestsInChild() {
  const sigset_t set = StopSignals();
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
  // An ignored signal stays ignored across exec: the started program gets the default.
  struct sigaction standard = {};
  standard.sa_handler = SIG_DFL;
  sigemptyset(&standard.sa_mask);
  sigaction(SIGXFSZ, &standard, nullptr);
}

}  // namespace quenda
