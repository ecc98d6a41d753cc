#include "app/collection_batch.h"

#include <cstring>

#include "app/batch_encoding.h"
#include "app/main_window.h"
#include "base/error.h"
#include "platform/native_path.h"
#include "session/session.h"
#include "session/termination.h"
#include "text/batch_text.h"
#include "text/cp1252.h"
#include "text/tokens.h"

namespace quenda {
namespace {

const char kCollectionBatchName[] = "Tarvell.Bat";

// The pieces of the entry from outside, named as in the refusal message, in entry order.
std::vector<std::pair<std::string, std::string>> EntryPieces(const Session& s) {
  std::vector<std::pair<std::string, std::string>> pieces = {
      {"DabFilePath", s.state.DabFilePath},
      {"DabNewName", s.state.DabNewName},
      {"die Patch-Kennziffer", s.state.DefPatVal}};
  if (s.job.CopiesIntegrationDab()) pieces.emplace_back("KundenGruppe", s.job.CfgKundenGruppe);
  pieces.emplace_back("pro_50", s.job.ProjectRecord50);
  return pieces;
}

// The message for the first piece that cannot be written into the entry, empty when all can.
std::string RefusedEntryPiece(const Session& s) {
  for (const auto& [what, value] : EntryPieces(s)) {
    const BatchFault fault = FindBatchValueFault(s, value);
    if (fault != BatchFault::kNone) {
      return RefusedBatchValueText(what, value, fault, kCollectionBatchName);
    }
  }
  // A program that splits its command line by the rules of the C runtime reads "\"" as a
  // quote: the last piece may not end in a backslash, or the argument would not end.
  if (s.job.CopiesIntegrationDab() && !s.job.ProjectRecord50.empty() &&
      s.job.ProjectRecord50.back() == '\\') {
    return "Der Wert für pro_50 endet mit einem Backslash und kann nicht in "_cp +
           kCollectionBatchName + " geschrieben werden: >" + s.job.ProjectRecord50 + "<";
  }
  const std::string entry = CollectionEntry(s);
  if (entry.size() > kMaxBatchLine) {
    return "Der Eintrag ist länger, als eine Zeile von "_cp + kCollectionBatchName +
           " sein darf (" + std::to_string(kMaxBatchLine) + " Zeichen): >" + entry.substr(0, 200) +
           "...<";
  }
  return {};
}

// True when `text` holds what a command line acts on: the editor is started without a
// shell, but an editor that is a batch file runs its command line through cmd.
bool ActsInCommandLine(const std::string& text) {
  const BatchFault fault = FindBatchFault(text);
  return text.find_first_of("&|<>^%!") != std::string::npos || fault == BatchFault::kLineBreak ||
         fault == BatchFault::kControl;
}

// The editor's command line for `file`, the path quoted when it holds blanks. Empty, after a
// box saying why, when no editor is set (the file itself is never started) or when the
// command line holds what cmd would act on.
std::string EditorCommand(Session& s, const std::string& file) {
  if (Trim(s.site.Editor).empty()) {
    s.ui.MsgBox("Kein Editor eingestellt: "_cp + file +
                    " kann nicht geöffnet werden. Der Editor steht in Config.ini unter [Site] "
                    "Editor."_cp,
                48, "Patch");
    return {};
  }
  std::string native = file;
  if (s.files.Map().CanResolve(file)) native = PathText(s.files.Native(file));
  if (ActsInCommandLine(s.site.Editor) || ActsInCommandLine(native) ||
      native.find('"') != std::string::npos) {
    s.ui.MsgBox("Der Editor wird nicht gestartet: >"_cp + s.site.Editor + native +
                    "< enthält ein Zeichen, das in einer Befehlszeile wirkt "_cp +
                    "(& | < > ^ % ! \" oder ein Steuerzeichen)",
                48, "Patch");
    return {};
  }
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
    const BatchFault fault = FindBatchValueFault(s, s.state.DefPatVal);
    if (fault != BatchFault::kNone) {
      // A quote would end the quoted entry early and let the rest of the line act.
      s.ui.MsgBox(fault == BatchFault::kQuote
                      ? "Die Kennziffer darf kein Anführungszeichen enthalten!"_cp
                      : RefusedBatchValueText("die Patch-Kennziffer", s.state.DefPatVal, fault,
                                              kCollectionBatchName),
                  48, "Patch");
      s.state.DefPatVal.clear();
      continue;
    }
    if (!s.state.DefPatVal.empty()) return;
    const std::string editor = EditorCommand(s, file);
    if (editor.empty()) continue;
    try {
      s.system.RunAndWait(editor, 1);
    } catch (const Error& e) {
      s.ui.MsgBox("Der Editor konnte nicht gestartet werden: " + e.Description(), 48, "Patch");
    }
  }
}

enum class EntryWrite { kNewFile, kAppend, kReplace, kNone };

// How the entry goes into `batFile`: the user decides when it holds entries already.
EntryWrite ChooseEntryWrite(Session& s, const std::string& batFile) {
  if (!s.files.FileExists(batFile)) return EntryWrite::kNewFile;
  const std::string text = "Angewählte Bearbeitungen durch Tarvell"_cp + "\r\n\r\n" +
                           ReadFileInfo(s, batFile) + "\r\n\r\n" +
                           "Ja = anhängen der aktuellen Bearbeitung"_cp + "\r\n" +
                           "Nein = löschen der vorhandenen Info"_cp + "\r\n" +
                           "Abbrechen = Tarvell.bat nicht bearbeiten\r\n";
  switch (s.ui.MsgBox(text, 3, "Info in " + batFile + ":")) {
    case Answer::kYes:
      return EntryWrite::kAppend;
    case Answer::kNo:
      return EntryWrite::kReplace;
    default:
      return EntryWrite::kNone;
  }
}

// Writes the entry line as chosen, in the console's code page. Appends and the replace take
// the same lock, so an entry appended meanwhile by another run is never lost.
void WriteEntry(Session& s, const std::string& batFile, EntryWrite how) {
  const std::vector<std::string> lines =
      InBatchCodePage(s, {CollectionEntry(s)}, kCollectionBatchName);
  if (how == EntryWrite::kNewFile) s.files.WriteLines(batFile, lines);
  if (how == EntryWrite::kAppend) s.files.AppendLines(batFile, lines);
  if (how == EntryWrite::kReplace) s.files.RewriteLines(batFile, lines);
}

}  // namespace

std::string ReadFileInfo(const Session& s, const std::string& batFileName) {
  std::string info;
  int number = 0;
  for (const std::string& line : s.files.ReadLines(batFileName)) {
    const std::size_t space = line.find(' ');
    if (space == std::string::npos) continue;
    info += std::to_string(++number) + ".\t" + FromBatchCodePage(s, line.substr(space)) + "\r\n";
  }
  return info;
}

std::string CollectionEntry(const Session& s) {
  const std::string head =
      s.state.DabFilePath + "\\" + s.state.DabNewName + "||" + s.state.DefPatVal + "|";
  const std::string argument = s.job.CopiesIntegrationDab()
                                   ? head + s.job.CfgKundenGruppe + "|" + s.job.ProjectRecord50
                                   : head + "|" + s.job.ProjectRecord50 + "|";
  return s.state.TarvellAufruf + "\"" + EscapeBatchPercent(argument) + "\"";
}

std::string PatchExplanationFile(const Session& s) {
  return s.env.ProjectDriveRoot + s.job.CfgKundenGruppe +
         "\\Vertraulich\\Patches\\Vorgaben\\Patumf.txt";
}

std::string CollectionBatchPath(const MainWindow& window) {
  const std::string& folder = window.BatDirectory;
  if (folder.empty() || folder.back() == '\\') return folder + kCollectionBatchName;
  return folder + "\\" + kCollectionBatchName;
}

void RunCollectionBatchStep(Session& s, MainWindow& window) {
  s.state.TarvellAufruf = "Tarvell.exe ";
  if (window.BatchAuswahl) AskPatchCode(s);
  if (window.BatDirectory.empty()) return;
  const std::string batFile = CollectionBatchPath(window);
  window.BatDirectory = batFile.substr(0, batFile.size() - std::strlen(kCollectionBatchName));
  try {
    const EntryWrite how = ChooseEntryWrite(s, batFile);
    if (how == EntryWrite::kNone) return;  // Cancel: the file stays as it is
    // Checked only now: a user who cancels never meets a refusal.
    if (const std::string refused = RefusedEntryPiece(s); !refused.empty()) {
      ErrorEnd(s, refused, EndStyle::Box(48), "Abbruch");
    }
    WriteEntry(s, batFile, how);
  } catch (const Error& e) {
    // A missing folder is said only when it is missing: a full disk, a read-only drive or a
    // refused file is named with its cause.
    const std::string text =
        s.files.FolderExists(window.BatDirectory)
            ? batFile + " wurde nicht geschrieben und ist unverändert: "_cp + e.Description()
            : "Keine Directory " + window.BatDirectory + " vorhanden!";
    s.ui.MsgBox(text);
    ErrorEnd(s, text, EndStyle::Box(), "");
  }
}

}  // namespace quenda
