#include "app/headless.h"

#include <cstdio>
#include <memory>

#include "app/command_runner.h"
#include "app/main_window.h"
#include "app/options.h"
#include "app/program.h"
#include "app/run_report.h"
#include "app/startup.h"
#include "app/stop_gate.h"
#include "base/error.h"
#include "session/session.h"
#include "session/termination.h"
#include "ui/headless_ui.h"

namespace quenda {
int RunSession(Session& session) {
  MainWindow window(session);
  const std::optional<int> exitStatus = RunCommand(session, [&] {
    Main(session);
    window.StartPressed();
    // The Start command ended without ending the run; a calling batch system learns why.
    if (session.env.BatchMode()) {
      WriteErrorFile(session, session.ui.LastMessage());
      session.WriteLogLine("!! Abbruch !! " + session.ui.LastMessage());
    }
    window.EndePressed();
  });
  return exitStatus.value_or(kExitAborted);
}

bool ReadAnswers(const Options& options, std::string& answers) {
  answers.clear();
  if (options.answersFile.empty()) return true;
  bool ok = false;
  answers = ReadNativeFile(options.answersFile, ok);
  if (!ok) {
    std::fprintf(stderr, "Quenda: Antwortdatei %s kann nicht gelesen werden\n",
                 options.answersFile.c_str());
  }
  return ok;
}

int RunHeadless(const Options& options, System& system) {
  std::string answers;
  if (!ReadAnswers(options, answers)) return kExitBadOption;
  HeadlessUi ui(answers);
  std::unique_ptr<Session> session;
  try {
    session = MakeSession(options, ui, system);
  } catch (const Error& e) {
    PrintUnexpectedError(e);
    return kExitBadOption;
  }
  int exitStatus = kExitAborted;
  {
    const StopWatch stopWatch(*session);
    exitStatus = RunSession(*session);
  }
  return FinishRequestedRecords(*session, options, exitStatus, stderr, true);
}

}  // namespace quenda
