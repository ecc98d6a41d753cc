// The main window on Win32. It binds its controls to the MainWindow model and owns
// nothing else; every way out of the program goes through Finish.
#pragma once

#include <windows.h>

#include <functional>

namespace quenda {

class MainWindow;
class Session;
class Win32Ui;

class Win32Window {
 public:
  // Creates the (hidden) window with its controls set from the model; `ui` is the
  // session's Ui (the busy pointer). Makes itself the owner of the Ui's dialogs.
  Win32Window(Session& session, MainWindow& model, Win32Ui& ui);
  ~Win32Window();
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  HWND Handle() const { return window_; }

  // Controls from the model (after loading and after each command).
  void SyncFromModel();
  // The log list and action label from the model, repainted at once.
  void SyncLog();
  // The summary lists from what the session has computed, repainted at once.
  void SyncSummary();
  // Runs a command of the model; a finished run ends the message loop with its status.
  void Run(const std::function<void()>& command);

  bool Finished() const { return finished_; }
  int ExitStatus() const { return exitStatus_; }

  // The controls, named as the model names them.
  HWND Label8 = nullptr;
  HWND Label1 = nullptr;
  HWND Text1 = nullptr;
  HWND Label4 = nullptr;
  HWND BatDirectory = nullptr;
  HWND BatchAuswahl = nullptr;
  HWND StartButton = nullptr;
  HWND EndeButton = nullptr;
  HWND ListOutput = nullptr;
  HWND AktionText = nullptr;
  HWND ParameterList = nullptr;  // read-only run summary: the parameters
  HWND SlotList = nullptr;       // and the conservation slots

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT Handle(UINT message, WPARAM w, LPARAM l);
  void OnCommand(int id, int code);
  void BuildControls();
  void Finish(int exitStatus);

  Session& session_;
  MainWindow& model_;
  Win32Ui& ui_;
  HWND window_ = nullptr;
  HFONT titleFont_ = nullptr;
  bool syncing_ = false;
  bool finished_ = false;
  int exitStatus_ = 1;
};

// Runs the message loop until the window's run has finished; returns the exit status.
int RunMessageLoop(Win32Window& window);

}  // namespace quenda
