#include "gui_win32/win32_gui_main.h"

#include <memory>

#include "app/window_driver.h"
#include "gui_win32/win32_ui.h"
#include "gui_win32/win32_window.h"

namespace quenda {

int RunWin32Gui(const Options& options, System& system) {
  // A console opened only for this program (started from the desktop) is not wanted.
  DWORD processes[2];
  if (GetConsoleProcessList(processes, 2) == 1) FreeConsole();
  Win32Ui ui;
  return RunWindowFrontEnd(
      options, ui, system,
      [&ui](WindowDriver& driver) { return std::make_unique<Win32Window>(driver, ui); },
      [](const std::string& text) { MessageBoxA(nullptr, text.c_str(), "Quenda", MB_ICONERROR); });
}

}  // namespace quenda
