// quenda: option parsing and the choice of the front end; everything else is in the core.
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "app/check_release_command.h"
#include "app/config_check_command.h"
#include "app/headless.h"
#include "app/options.h"
#include "app/plan_apply.h"
#include "app/plan_command.h"
#include "app/qualify_command.h"
#include "app/startup.h"
#include "app/stop_gate.h"
#include "app/verify_command.h"
#include "base/error.h"
#include "platform/system.h"
#include "session/termination.h"

#if defined(QUENDA_HAVE_WIN32_GUI)
#include "gui_win32/win32_gui_main.h"
#elif defined(QUENDA_HAVE_GUI)
#include "gui/gui_main.h"
#endif

namespace {

int RunProgram(int argc, char** argv) {
  using namespace quenda;
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const auto options = ParseOptions(args, error);
  if (!options) {
    std::fprintf(stderr, "quenda: %s\n\n%s", error.c_str(), UsageText().c_str());
    return kExitBadOption;
  }
  if (options->help) {
    std::fputs(UsageText().c_str(), stdout);
    return kExitSuccess;
  }
  if (options->version) {
    std::printf("Quenda %s\n", AppVersionText().c_str());
    return kExitSuccess;
  }
  auto system = MakeNativeSystem();
  if (options->checkConfig) return RunConfigCheck(*options, *system, stdout, stderr);
  if (!options->checkReleaseReport.empty()) {
    return RunCheckRelease(*options, *system, stdout, stderr);
  }
  if (!options->verifyReport.empty()) return RunVerify(*options, *system, stdout, stderr);
  if (!options->planFile.empty()) return RunPlan(*options, *system, stdout, stderr);
  if (!options->applyPlan.empty()) return RunApply(*options, *system, stdout, stderr);
  if (options->qualify) return RunQualify(*options, *system, stdout, stderr);
  if (options->headless) return RunHeadless(*options, *system);
#if defined(QUENDA_HAVE_WIN32_GUI)
  return RunWin32Gui(*options, *system);
#elif defined(QUENDA_HAVE_GUI)
  return RunGui(argc, argv, *options, *system);
#else
  std::fputs("quenda: dieses Programm wurde ohne Fenster gebaut; bitte --headless verwenden\n",
             stderr);
  return kExitBadOption;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quenda;
  WatchProcessStopRequests();  // before anything else: no stop request is lost
  try {
    return RunProgram(argc, argv);
  } catch (const std::bad_alloc&) {
    // Outside a run (options, settings, the session's making): nothing to end in order.
    PrintUnexpectedError(PlatformError(kErrOutOfMemory));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Quenda: Unerwarteter Programmfehler: %s\n", e.what());
  }
  return kExitAborted;
}
