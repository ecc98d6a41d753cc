// The main window on Win32. It binds its controls to the MainWindow model and owns
// nothing else; every way out of the program goes through its driver.
#pragma once

#include <windows.h>

#include <memory>

#include "app/window_driver.h"
#include "gui_win32/window_layout.h"

namespace quenda {

class Win32Ui;
class WindowFonts;

class Win32Window : public WindowView {
 public:
  // Creates the (hidden) window with its controls set from the driver's model; `ui` is
  // the session's Ui (the busy pointer). Makes itself the owner of the Ui's dialogs.
  // `driver` and `ui` must outlive the window.
  Win32Window(WindowDriver& driver, Win32Ui& ui);
  ~Win32Window() override;
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  HWND Handle() const { return window_; }

  void SyncFromModel() override;
  void SyncLog() override;
  void SyncSummary() override;
  // A finished run hides the window; the message loop ends after the current message.
  void RunFinished(int exitStatus) override;
  int ShowAndWait() override;

  bool Finished() const { return driver_.Finished(); }
  int ExitStatus() const { return driver_.ExitStatus(); }

  // The controls, named as the model names them.
  HWND Label8 = nullptr;
  HWND Label1 = nullptr;
  HWND Text1 = nullptr;
  HWND Label4 = nullptr;
  HWND BatDirectory = nullptr;
  HWND BatchAuswahl = nullptr;
  HWND VorschauButton = nullptr;  // the plan of a Start, shown before it (Alt+V)
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
  // Runs the Vorschau and shows its plan in the plan box.
  void ShowPreview();
  void BuildControls();
  // The fonts at `dpi` for every control, the list columns fitted to them.
  void ApplyFonts(int dpi);
  TextMetrics Metrics() const;
  // Places the controls for the current client area (on WM_SIZE and WM_DPICHANGED).
  void LayOut();
  // The opening size at the window's DPI, fitted into the monitor's work area.
  void SizeToOpen();

  WindowDriver& driver_;
  MainWindow& model_;
  Win32Ui& ui_;
  HWND window_ = nullptr;
  std::unique_ptr<WindowFonts> fonts_;
  bool syncing_ = false;
};

// Runs the message loop until the window's run has finished; returns the exit status.
int RunMessageLoop(Win32Window& window);

}  // namespace quenda
