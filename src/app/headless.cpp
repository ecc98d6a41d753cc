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

std::unique_ptr<Session> MakeHeadlessSession(const Options& options, Ui& ui, System& system) {
  try {
    return MakeSession(options, ui, system);
  } catch (const Error& e) {
    PrintUnexpectedError(e);
    return nullptr;
  }
}

int RunWatchedSession(Session& session) {
  const StopWatch stopWatch(session);
  return RunSession(session);
}

int RunHeadless(const Options& options, System& system) {
  std::string answers;
  if (!ReadAnswers(options, answers)) return kExitBadOption;
  HeadlessUi ui(answers);
  const std::unique_ptr<Session> session = MakeHeadlessSession(options, ui, system);
  if (!session) return kExitBadOption;
  const int exitStatus = RunWatchedSession(*session);
  return FinishRequestedRecords(*session, options, exitStatus, stderr, true);
}

}  // namespace quenda
