#include "app/collection_batch.h"

#include "app/main_window.h"
#include "app/session.h"
#include "app/termination.h"
#include "base/error.h"
#include "platform/native_path.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

// The editor's command line for `file`; the path is quoted when it holds blanks.
std::string EditorCommand(const Session& s, const std::string& file) {
  std::string native = file;
  if (s.files.Map().CanResolve(file)) native = PathText(s.files.Native(file));
  if (native.find(' ') != std::string::npos) native = "\"" + native + "\"";
  return s.site.Editor + native;
}

// Asks until a patch code is given; an empty answer opens the explanation file first.
void AskPatchCode(Session& s) {
  const std::string file = PatchExplanationFile(s);
  const std::string prompt =
      "Kennziffer für Patch-Vorgabe"_cp + "\r\n\r\nErläuterungen siehe:"_cp + "\r\n" + file;
  for (;;) {
    s.state.DefPatVal = s.ui.InputBox(prompt, "Patch", s.state.DefPatVal);
    if (s.state.DefPatVal.find('"') != std::string::npos) {
      // A quote would end the quoted entry early and break the collection batch line.
      s.ui.MsgBox("Die Kennziffer darf kein Anführungszeichen enthalten!"_cp, 48, "Patch");
      s.state.DefPatVal.clear();
      continue;
    }
    if (!s.state.DefPatVal.empty()) return;
    try {
      s.system.RunAndWait(EditorCommand(s, file), 1);
    } catch (const Error& e) {
      s.ui.MsgBox("Der Editor konnte nicht gestartet werden: " + e.Description(), 48, "Patch");
    }
  }
}

// Writes the entry, asking first when the file holds entries already.
void WriteEntry(Session& s, const std::string& batFile) {
  const std::string entry = CollectionEntry(s);
  if (!s.files.FileExists(batFile)) {
    s.files.WriteLines(batFile, {entry});
    return;
  }
  const std::string text = "Angewählte Bearbeitungen durch Tarvell"_cp + "\r\n\r\n" +
                           ReadFileInfo(s, batFile) + "\r\n\r\n" +
                           "Ja = anhängen der aktuellen Bearbeitung"_cp + "\r\n" +
                           "Nein = löschen der vorhandenen Info"_cp + "\r\n" +
                           "Abbrechen = Tarvell.bat nicht bearbeiten\r\n";
  switch (s.ui.MsgBox(text, 3, "Info in " + batFile + ":")) {
    case Answer::Yes:
      s.files.AppendLines(batFile, {entry});
      break;
    case Answer::No:
      s.files.WriteLines(batFile, {entry});
      break;
    default:
      break;
  }
}

}  // namespace

std::string ReadFileInfo(const Session& s, const std::string& batFileName) {
  std::string info;
  int number = 0;
  for (const std::string& line : s.files.ReadLines(batFileName)) {
    const std::size_t space = line.find(' ');
    if (space == std::string::npos) continue;
    info += std::to_string(++number) + ".\t" + line.substr(space) + "\r\n";
  }
  return info;
}

std::string CollectionEntry(const Session& s) {
  const std::string head = s.state.TarvellAufruf + "\"" + s.state.DabFilePath + "\\" +
                           s.state.DabNewName + "||" + s.state.DefPatVal + "|";
  if (s.job.RunBa == "000" || s.job.RunBa == "001") {
    return head + s.job.CfgKundenGruppe + "|" + s.job.ProjectRecord50 + "\"";
  }
  return head + "|" + s.job.ProjectRecord50 + "|\"";
}

std::string PatchExplanationFile(const Session& s) {
  return s.env.ProjectDriveRoot + s.job.CfgKundenGruppe +
         "\\Vertraulich\\Patches\\Vorgaben\\Patumf.txt";
}

void RunCollectionBatchStep(Session& s, MainWindow& window) {
  s.state.TarvellAufruf = "Tarvell.exe ";
  if (window.BatchAuswahl) AskPatchCode(s);
  if (window.BatDirectory.empty()) return;
  if (window.BatDirectory.back() != '\\') window.BatDirectory += '\\';
  try {
    WriteEntry(s, window.BatDirectory + "Tarvell.Bat");
  } catch (const Error&) {
    const std::string text = "Keine Directory " + window.BatDirectory + " vorhanden!";
    s.ui.MsgBox(text);
    ErrorEnd(s, text, "", "");
  }
}

}  // namespace quenda
