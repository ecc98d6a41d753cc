#include "gui/gui_main.h"

#include <QApplication>
#include <QMessageBox>
#include <memory>

#include "app/main_window.h"
#include "app/options.h"
#include "app/program.h"
#include "app/run_report.h"
#include "app/startup.h"
#include "base/error.h"
#include "gui/qt_text.h"
#include "gui/qt_ui.h"
#include "gui/quenda_window.h"
#include "session/session.h"
#include "session/termination.h"

namespace quenda {

int RunGui(int argc, char** argv, const Options& options, System& system) {
  QApplication app(argc, argv);
  QtUi ui;
  std::unique_ptr<Session> session;
  try {
    session = MakeSession(options, ui, system);
  } catch (const Error& e) {
    QMessageBox::critical(nullptr, "Quenda", ToQt(UnexpectedErrorText(e)));
    return kExitBadOption;
  }
  MainWindow model(*session);
  QuendaWindow window(*session, model);
  ui.SetLogViewListener([&window] { window.SyncLog(); });
  ui.SetSummaryListener([&window] { window.SyncSummary(); });
  window.Run([&] { Main(*session, model); });
  int exitStatus = window.ExitStatus();
  if (!window.Finished()) {  // else the run ended while loading
    window.SyncFromModel();
    window.show();
    exitStatus = app.exec();
  }
  if (!options.reportFile.empty()) WriteRunReport(*session, exitStatus, options.reportFile);
  return exitStatus;
}

}  // namespace quenda
