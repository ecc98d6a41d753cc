#include "app/window_driver.h"

#include <cstdio>
#include <optional>

#include "app/command_runner.h"
#include "app/options.h"
#include "app/program.h"
#include "app/run_report.h"
#include "app/startup.h"
#include "app/stop_gate.h"
#include "base/error.h"
#include "session/session.h"
#include "session/termination.h"
#include "ui/window_ui.h"

namespace quenda {

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
  const std::optional<int> exitStatus = RunCommand(session_, command);
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
