// What both window front ends share around the main-window model: the commands of its
// buttons (RunCommand), the end of the run shown in the window, and the life of a window
// from the session's start to the end of the process.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>

#include "app/main_window.h"

namespace quenda {

struct Options;
class Session;
class System;
class WindowUi;

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

  // Runs `command` (RunCommand). When only the command ended, the busy pointer goes
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

  // Vorschau: the plan of a Start of the loaded job with the window's fields, made in a
  // session of its own on the same site and command line with every write kept in memory
  // (platform/file_overlay.h): nothing is written but that session's run log. The questions
  // the window's load has answered take those answers again; Start's questions are asked in
  // the window as Start asks them (boxes with OK alone are not shown), and their answers are
  // kept for the next Start (Ui::PrepareAnswers), so that it writes what was shown without
  // asking again. Returns the plan for a person (PlanText, UTF-8).
  std::string Preview();

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
