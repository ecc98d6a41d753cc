#include "gui_win32/win32_gui_main.h"

#include <memory>

#include "app/main_window.h"
#include "app/options.h"
#include "app/program.h"
#include "app/run_report.h"
#include "app/startup.h"
#include "base/error.h"
#include "gui_win32/win32_ui.h"
#include "gui_win32/win32_window.h"
#include "session/session.h"
#include "session/termination.h"

namespace quenda {

int RunWin32Gui(const Options& options, System& system) {
  // A console opened only for this program (started from the desktop) is not wanted.
  DWORD processes[2];
  if (GetConsoleProcessList(processes, 2) == 1) FreeConsole();
  Win32Ui ui;
  std::unique_ptr<Session> session;
  try {
    if (!options.transcriptFile.empty()) ui.SetTranscript(options.transcriptFile);
    ProgramSetup setup = PrepareProgram(options, system);
    session = std::make_unique<Session>(ui, system, std::move(setup.site));
    session->env.ProgramDir = setup.programDir;
    session->env.CommandLineText = CommandLineText(options);
  } catch (const Error& e) {
    MessageBoxA(nullptr, UnexpectedErrorText(e).c_str(), "Quenda", MB_ICONERROR);
    return kExitBadOption;
  }
  MainWindow model(*session);
  Win32Window window(*session, model, ui);
  ui.SetLogViewListener([&window] { window.SyncLog(); });
  ui.SetSummaryListener([&window] { window.SyncSummary(); });
  window.Run([&] { Main(*session, model); });
  int exitStatus = window.ExitStatus();
  if (!window.Finished()) {  // else the run ended while loading
    window.SyncFromModel();
    ShowWindow(window.Handle(), SW_SHOWNORMAL);
    UpdateWindow(window.Handle());
    exitStatus = RunMessageLoop(window);
  }
  if (!options.reportFile.empty()) WriteRunReport(*session, exitStatus, options.reportFile);
  return exitStatus;
}

}  // namespace quenda
