#include "app/main_window.h"

#include "app/run_sequence.h"
#include "app/session.h"
#include "app/termination.h"
#include "base/error.h"

namespace quenda {

MainWindow::MainWindow(Session& session) : s_(session) { s_.log.SetView(this); }

void MainWindow::AddLogLine(const std::string& line) {
  if (!loaded_) Load();
  ListOutput.push_back(line);
  AktionText = line;
  ListIndex = static_cast<int>(ListOutput.size()) - 1;
  s_.ui.LogViewChanged();
}

void MainWindow::Load() {
  if (loaded_) return;
  loaded_ = true;  // lines logged while loading go to the list without loading again
  try {
    Text1 = s_.job.JobFilePath;
  } catch (const Error& e) {
    s_.ui.MsgBox(std::to_string(e.Number()) + ": " + e.Description());
  }
}

void MainWindow::StartPressed() { RunSequence(s_, *this); }

void MainWindow::EndePressed() {
  try {
    s_.files.WriteLines(s_.env.IniFilePath, {"[receiver]", "RecString=", "TransDir="});
  } catch (const Error& e) {
    ErrorEnd(
        s_,
        "Die Datei " + s_.env.IniFilePath + " konnte nicht geschrieben werden: " + e.Description(),
        "48", "Abbruch");
  }
  TerminateRun(s_, "Bearbeitung wurde abgebrochen", "48", "Abbruch");
}

void MainWindow::CloseRequested() {
  if (s_.env.BatchMode()) TerminateRun(s_, "Abbruch durch den Benutzer!", "BATCH", "Abbruch");
  TerminateRun(s_, "Abbruch durch den Benutzer!", "48", "Abbruch");
}

}  // namespace quenda
