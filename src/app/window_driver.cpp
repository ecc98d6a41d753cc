#include "app/window_driver.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <new>

#include "app/options.h"
#include "app/program.h"
#include "app/run_report.h"
#include "app/startup.h"
#include "base/error.h"
#include "platform/stop_request.h"
#include "session/session.h"
#include "session/termination.h"
#include "ui/window_ui.h"

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

std::optional<int> RunWindowCommand(Session& s, const std::function<void()>& command) {
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

WindowDriver::WindowDriver(Session& session, WindowUi& ui)
    : session_(session), ui_(ui), model_(session) {}

WindowDriver::~WindowDriver() {
  ui_.SetLogViewListener(nullptr);
  ui_.SetSummaryListener(nullptr);
}

void WindowDriver::Attach(WindowView& view) {
  view_ = &view;
  ui_.SetLogViewListener([this] { view_->SyncLog(); });
  ui_.SetSummaryListener([this] { view_->SyncSummary(); });
}

void WindowDriver::Run(const std::function<void()>& command) {
  const std::optional<int> exitStatus = RunWindowCommand(session_, command);
  ui_.SetBusy(false);
  if (exitStatus) {
    finished_ = true;
    exitStatus_ = *exitStatus;
    if (view_ != nullptr) view_->RunFinished(exitStatus_);
  } else if (view_ != nullptr) {
    view_->SyncFromModel();
  }
}

void WindowDriver::Load() {
  Run([this] { Main(session_); });
}
void WindowDriver::Start() {
  Run([this] { model_.StartPressed(); });
}
void WindowDriver::Ende() {
  Run([this] { model_.EndePressed(); });
}
void WindowDriver::Close() {
  Run([this] { model_.CloseRequested(); });
}
void WindowDriver::EndSession() { RequestStop("Abmelden/Herunterfahren"); }

std::span<const std::string> WindowDriver::NewLogLines(std::size_t shown) const {
  const std::span<const std::string> all = model_.ListOutput;
  return shown < all.size() ? all.subspan(shown) : std::span<const std::string>();
}

int RunWindowFrontEnd(const Options& options, WindowUi& ui, System& system,
                      const std::function<std::unique_ptr<WindowView>(WindowDriver&)>& makeWindow,
                      const std::function<void(const std::string&)>& showError) {
  std::unique_ptr<Session> session;
  try {
    session = MakeSession(options, ui, system);
  } catch (const Error& e) {
    showError(UnexpectedErrorText(e));
    return kExitBadOption;
  }
  int exitStatus = kExitAborted;
  {
    const StopWatch stopWatch(*session);
    WindowDriver driver(*session, ui);
    const std::unique_ptr<WindowView> window = makeWindow(driver);
    driver.Attach(*window);
    driver.Load();
    // A run that ended while loading never shows the window.
    exitStatus = driver.Finished() ? driver.ExitStatus() : window->ShowAndWait();
  }
  return FinishRequestedRecords(*session, options, exitStatus, stderr, false);
}

}  // namespace quenda
