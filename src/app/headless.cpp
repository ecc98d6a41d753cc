#include "app/headless.h"

#include <cstdio>

#include "app/main_window.h"
#include "app/options.h"
#include "app/program.h"
#include "app/session.h"
#include "app/startup.h"
#include "base/error.h"
#include "text/cp1252.h"
#include "ui/headless_ui.h"

namespace quenda {

int RunHeadless(const Options& options, System& system) {
  std::string answers;
  if (!options.answersFile.empty()) {
    bool ok = false;
    answers = ReadNativeFile(options.answersFile, ok);
    if (!ok) {
      std::fprintf(stderr, "Quenda: Antwortdatei %s kann nicht gelesen werden\n",
                   options.answersFile.c_str());
      return kExitBadOption;
    }
  }
  HeadlessUi ui(answers);
  try {
    if (!options.transcriptFile.empty()) ui.SetTranscript(options.transcriptFile);
    ProgramSetup setup = PrepareProgram(options, system);
    Session session(ui, system, std::move(setup.site));
    session.env.ProgramDir = setup.programDir;
    session.env.CommandLineText = CommandLineText(options);
    MainWindow window(session);
    Main(session, window);
    window.EndePressed();
  } catch (const RunEnded& end) {
    return end.ExitStatus();
  } catch (const Error& e) {
    std::fprintf(stderr, "Quenda: Fehler %d: %s\n", e.Number(),
                 Cp1252ToUtf8(e.Description()).c_str());
    return kExitAborted;
  }
  return kExitAborted;
}

}  // namespace quenda
