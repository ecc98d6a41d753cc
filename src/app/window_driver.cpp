#include "app/window_driver.h"

#include "base/error.h"
#include "session/session.h"
#include "session/termination.h"

namespace quenda {

std::optional<int> RunWindowCommand(Session& s, const std::function<void()>& command) {
  try {
    try {
      command();
    } catch (const Error& e) {
      ErrorEnd(s, UnexpectedErrorText(e), "16", "Abbruch");
    }
  } catch (const RunEnded& end) {
    return end.ExitStatus();
  }
  return std::nullopt;
}

}  // namespace quenda
