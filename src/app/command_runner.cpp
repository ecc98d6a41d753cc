#include "app/command_runner.h"

#include <cstdio>
#include <exception>
#include <new>
#include <string>

#include "base/error.h"
#include "session/session.h"
#include "session/termination.h"

namespace quenda {
namespace {

// An error that nothing on the way handled ends the run in order; before the run log is
// open there is nothing to end in order.
[[noreturn]] void EndOnError(Session& s, const Error& e) {
  PrintUnexpectedError(e);
  if (!s.log.IsOpen()) {
    // No log to end in order: a calling batch system still gets its error file (the
    // command fields are known from the command line), a user the box.
    if (s.env.BatchRun()) {
      WriteErrorFile(s, UnexpectedErrorText(e));
    } else {
      s.ui.MsgBox(UnexpectedErrorText(e), 16, "Abbruch");
    }
    throw RunEnded(kExitAborted);
  }
  s.record.reason = end_reason::kError;
  ErrorEnd(s, UnexpectedErrorText(e), EndStyle::Box(16), "Abbruch");
}

}  // namespace

std::optional<int> RunCommand(Session& s, const std::function<void()>& command) {
  try {
    try {
      command();
    } catch (const RunEnded&) {
      throw;
    } catch (const Unanswered& question) {
      // Ends like any other abort: the log line, the error file, the log moved; status 3.
      if (!s.log.IsOpen()) return kExitUnanswered;
      ErrorEnd(s, question.Text(), EndStyle::Batch(), "Abbruch", kExitUnanswered);
    } catch (const Error& e) {
      EndOnError(s, e);
    } catch (const std::bad_alloc&) {
      // Unwinding has freed what the failed step held; the end needs little.
      EndOnError(s, PlatformError(kErrOutOfMemory));
    } catch (const std::exception& e) {
      EndOnError(s, Error(kErrComposed, "Unerwarteter Programmfehler: " + std::string(e.what())));
    } catch (...) {
      EndOnError(s, Error(kErrComposed, "Unerwarteter Programmfehler"));
    }
  } catch (const RunEnded& end) {
    return end.ExitStatus();
  } catch (const std::exception& e) {
    // The end itself failed (memory again): standard error is all that is left.
    std::fprintf(stderr, "Quenda: %s\n", e.what());
    return kExitAborted;
  }
  return std::nullopt;
}

}  // namespace quenda
