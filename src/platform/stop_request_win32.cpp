#include <windows.h>

#include "platform/stop_request.h"

namespace quenda {
namespace {

// The console calls its handlers without a context, so the one handler lives here, never
// destroyed: an event may come while the process exits.
std::function<void(const std::string&)>& Handler() {
  static auto* const handler = new std::function<void(const std::string&)>;
  return *handler;
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
  const char* name = event == CTRL_C_EVENT       ? "CTRL_C_EVENT"
                     : event == CTRL_BREAK_EVENT ? "CTRL_BREAK_EVENT"
                     : event == CTRL_CLOSE_EVENT ? "CTRL_CLOSE_EVENT"
                                                 : nullptr;
  if (name == nullptr || !Handler()) return FALSE;
  Handler()(name);  // on the thread the system started for the event
  return TRUE;
}

}  // namespace

void WatchStopRequests(std::function<void(const std::string&)> onStop) {
  Handler() = std::move(onStop);
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void FailWritesPastFileSizeLimit() {}

void ReleaseStopRequestsInChild() {}

}  // namespace quenda
