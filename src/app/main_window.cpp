#include "app/main_window.h"

#include "app/run_sequence.h"
#include "base/error.h"
#include "config/config_selection.h"
#include "platform/native_path.h"
#include "rules/parameter_intake.h"
#include "session/session.h"
#include "session/spec_table.h"
#include "session/termination.h"
#include "text/cp1252.h"

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
    SelectConfiguration(s_);
    s_.job.RunBa = s_.state.AktBa;
    s_.job.RunKundenGruppe = s_.job.CfgKundenGruppe;
    SetParamColumns(s_);
    FillSpecTable(s_.spec, s_.params, s_.state.izeile);
    if (s_.env.CommandFields[0].empty() && !AskForTransferFile()) return;
    if (s_.job.RunKundenGruppe == "003") BatchAuswahl = true;
    Text1 = s_.job.JobFilePath;
  } catch (const Error& e) {
    s_.ui.MsgBox(std::to_string(e.Number()) + ": " + e.Description());
  }
}

void MainWindow::StartPressed() { RunSequence(s_, *this); }

bool MainWindow::AskForTransferFile() {
  FileDialogRequest request;
  request.title = "Auswahl Transferdatei";
  request.initialDir = s_.site.ProjectShareRoot + "\\003\\Flow\\Transfer";
  request.filter = "Transferdatei (*.xml)|*.xml|Alle Dateien (*.*)|*.*|";
  request.filterIndex = 1;
  request.hideReadOnly = true;
  if (s_.files.Map().CanResolve(request.initialDir)) {
    request.initialDirNative = PathText(s_.files.Native(request.initialDir));
  }
  try {
    // The chosen path is not used; cancelling counts as an error of the dialog.
    if (s_.ui.OpenFile(request)) return true;
  } catch (const Error&) {
  }
  s_.ui.MsgBox("Fehler bei Dialogbox!");
  return false;
}

void MainWindow::EndePressed() {
  try {
    s_.files.WriteLines(s_.env.IniFilePath, {"[receiver]", "RecString=", "TransDir="});
  } catch (const Error& e) {
    ErrorEnd(
        s_,
        "Die Datei " + s_.env.IniFilePath + " konnte nicht geschrieben werden: " + e.Description(),
        EndStyle::Box(48), "Abbruch");
  }
  s_.record.reason = end_reason::kEnded;
  TerminateRun(s_, "Bearbeitung wurde abgebrochen", EndStyle::Box(48), "Abbruch");
}

void MainWindow::CloseRequested() {
  s_.record.reason = end_reason::kClosed;
  if (s_.env.BatchMode())
    TerminateRun(s_, "Abbruch durch den Benutzer!", EndStyle::Batch(), "Abbruch");
  TerminateRun(s_, "Abbruch durch den Benutzer!", EndStyle::Box(48), "Abbruch");
}

}  // namespace quenda
