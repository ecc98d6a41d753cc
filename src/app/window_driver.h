// What every front end shares around the main-window model: running one of its commands,
// ending the run in order when a command fails, and the life of a window from the
// session's start to the end of the process.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "app/main_window.h"

namespace quenda {

struct Options;
class Session;
class System;
class WindowUi;

// Runs a command of the window model. An Error that nothing on the way handled ends the
// run in order (ErrorEnd, style 16, "Abbruch"), and so does any other exception: memory
// running out as error 7 "Nicht genügend Arbeitsspeicher", the rest as 60000
// "Unerwarteter Programmfehler: " + what(). Before the run log is open there is
// nothing to end in order: the error goes into the error file in BatchMode and into a box
// otherwise (status 1). A question that
// headless mode cannot answer ends the run with status 3. Returns the exit status when
// the run ended, nullopt when only the command ended and the window stays open.
std::optional<int> RunWindowCommand(Session& session, const std::function<void()>& command);

// Stop requests from outside, for the whole process: called first in main, so that from
// then on no request takes the system's default action (SIGTERM, SIGINT, the console's
// events). Until a run is watched (StopWatch) a request ends the process with status 130;
// while one is, it ends that run in order (StopRun); after the run it changes nothing.
// A write past the file-size limit fails from then on, and is reported as a failed write.
void WatchProcessStopRequests();

// Hands a stop request on as the watcher does, on the calling thread: the native window's
// end of the session, and tests at a chosen instant. `cause` as StopRun takes it
// ("Signal SIGTERM", "Abmelden/Herunterfahren").
void RequestStop(const std::string& cause);

// While it lives, stop requests end the run of `session` (RequestStop); when it goes,
// which must be before the session goes, it waits for a stop that is ending the run and
// from then on requests change nothing, so the status the front end reports is the
// process's.
class StopWatch {
 public:
  explicit StopWatch(Session& session);
  ~StopWatch();
  StopWatch(const StopWatch&) = delete;
  StopWatch& operator=(const StopWatch&) = delete;
};

// A main window on a toolkit, as the driver sees it: it binds its controls to the model
// and shows what the driver tells it to.
class WindowView {
 public:
  virtual ~WindowView() = default;
  // Controls from the model (after loading and after each command), log and summary too.
  virtual void SyncFromModel() = 0;
  // The log list and action label from the model, repainted at once.
  virtual void SyncLog() = 0;
  // The summary from what the session has computed, repainted at once.
  virtual void SyncSummary() = 0;
  // The run has ended with `exitStatus`: leave the event loop, or do not enter it.
  virtual void RunFinished(int exitStatus) = 0;
  // Shows the window and runs the event loop until the run has ended; returns its status.
  virtual int ShowAndWait() = 0;
};

// Drives one window: the model, the commands of its buttons, and the end of the run.
class WindowDriver {
 public:
  // `session` and `ui` (the session's Ui) must outlive the driver.
  WindowDriver(Session& session, WindowUi& ui);
  ~WindowDriver();
  WindowDriver(const WindowDriver&) = delete;
  WindowDriver& operator=(const WindowDriver&) = delete;

  Session& session() { return session_; }
  MainWindow& model() { return model_; }

  // From now on the Ui's log and summary changes repaint `view`, and commands report to
  // it. The view must outlive the driver or be replaced before it goes.
  void Attach(WindowView& view);

  // Runs `command` (RunWindowCommand). When only the command ended, the busy pointer goes
  // and the view is synced from the model; when the run ended, Finished() holds, the busy
  // pointer goes and the view learns the status.
  void Run(const std::function<void()>& command);
  // The commands of the window: its load (the start sequence), Start, Ende, closing it.
  void Load();
  void Start();
  void Ende();
  void Close();
  // The user's session ends (log-off, shutdown): the run ends as on a stop request.
  void EndSession();

  bool Finished() const { return finished_; }
  int ExitStatus() const { return exitStatus_; }

  // The log lines of the model after the first `shown`, for a list that shows `shown`.
  std::span<const std::string> NewLogLines(std::size_t shown) const;

 private:
  Session& session_;
  WindowUi& ui_;
  MainWindow model_;
  WindowView* view_ = nullptr;
  bool finished_ = false;
  int exitStatus_ = 1;
};

// The life of a window front end: the session of the options (MakeSession; a failure is
// shown with `showError` and gives status 2), the driver, the window from `makeWindow`,
// the load, the event loop when the load did not end the run, and the report when asked
// for. Returns the exit status.
int RunWindowFrontEnd(const Options& options, WindowUi& ui, System& system,
                      const std::function<std::unique_ptr<WindowView>(WindowDriver&)>& makeWindow,
                      const std::function<void(const std::string&)>& showError);

}  // namespace quenda
