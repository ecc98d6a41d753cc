#include "session/termination.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "base/error.h"
#include "session/session.h"
#include "text/cp1252.h"
#include "text/tokens.h"

namespace quenda {
namespace {

// The prefix a mode word puts before the message, or nullptr for a style number.
const char* ModePrefix(const std::string& msgStil) {
  if (msgStil == "BATCH" || msgStil == "NOFILCOP") return "!! Abbruch !! ";
  if (msgStil == "BATCHOK" || msgStil == "NOFILCOPOK") return "!! Fertig !! ";
  if (msgStil == "ENDE") return "!! Ende !! ";
  return nullptr;
}

int StyleNumber(const std::string& text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() ? value : 0;
}

// The end of a run goes on whatever fails in it; standard error tells what failed.
void ReportEndFailure(const std::string& what, const Error& e) {
  std::fprintf(stderr, "%s\n", Cp1252ToUtf8("Quenda: " + what + ": " + e.Description()).c_str());
  std::fflush(stderr);
}

void WriteFinalLogLine(Session& s, const std::string& line) {
  try {
    s.WriteLogLine(line);
  } catch (const Error& e) {
    ReportEndFailure(
        "Die letzte Zeile des Laufprotokolls " + s.state.LaufLogFile + " wurde nicht geschrieben",
        e);
  }
}

void FinalMessage(Session& s, std::string& msgText, std::string& msgStil, std::string& msgTitel) {
  if (const char* prefix = ModePrefix(msgStil)) {
    msgText = prefix + msgText;
    WriteFinalLogLine(s, msgText);
    if (msgStil == "ENDE" && !s.env.BatchMode()) s.ui.MsgBox(msgText, 64, msgTitel);
    return;
  }
  if (msgStil.empty()) msgStil = "272";
  if (msgTitel.empty()) msgTitel = "Keine Angabe!!!";
  if (msgText.empty()) msgText = "Keine Angabe!!!";
  s.ui.MsgBox(msgText, StyleNumber(msgStil), msgTitel);
}

// Moves the closed log into the current folder. A log already there stays where it is.
void MoveLog(Session& s) {
  const std::string& logFile = s.state.LaufLogFile;
  const std::string target = s.state.AktDirName + s.state.LaufLogName;
  try {
    if (s.files.FileExists(logFile)) s.files.ResetAttributes(logFile);
    if (UpperCase(logFile) == UpperCase(target) || s.files.SameFile(logFile, target)) return;
    s.files.CopyFile(logFile, target);
    s.files.DeleteFile(logFile);
  } catch (const Error& e) {
    ReportEndFailure(
        "Das Laufprotokoll wurde nicht nach " + target + " kopiert und bleibt in " + logFile, e);
    if (e.Number() != kErrPermissionDenied) return;
    s.ui.MsgBox(logFile + " kann nicht automatisch kopiert werden!\r\n" +
                "Vermutlich von einer anderen Anwendung belegt!\r\n" +
                "Bitte nach Ende von Plexor direkt nach .\\progst\\plexor.log kopieren.");
  }
}

}  // namespace

void TerminateRun(Session& s, std::string msgText, std::string msgStil, std::string msgTitel,
                  int exitStatus) {
  if (!s.log.ClaimEnd()) {
    // A stop request is ending the run on the watcher's thread, which ends the process.
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
  }
  FinalMessage(s, msgText, msgStil, msgTitel);
  s.state.FinalMessage = msgText;
  // Copied and deleted while still held (every line is flushed), so no other run takes
  // the name over in between and loses its log to this run's delete.
  if (!s.state.LaufLogFile.empty()) MoveLog(s);
  s.log.Close();
  throw RunEnded(exitStatus);
}

void StopRun(Session& s, const std::string& requestName) {
  if (!s.log.IsOpen()) std::_Exit(kExitStopped);  // nothing to report yet
  if (!s.log.ClaimEnd()) return;                  // the run is ending on its own
  s.log.Stop();
  const std::string text = "Abbruch durch Signal " + requestName;
  if (s.env.BatchMode()) WriteErrorFile(s, text);
  WriteFinalLogLine(s, "!! Abbruch !! " + text);
  if (!s.state.LaufLogFile.empty()) MoveLog(s);
  s.log.Close();
  std::fflush(stdout);
  std::_Exit(kExitStopped);
}

std::string UnexpectedErrorText(const Error& error) {
  return "Fehler " + std::to_string(error.Number()) + ": " + error.Description();
}

void PrintUnexpectedError(const Error& error) {
  std::fprintf(stderr, "%s\n", Cp1252ToUtf8("Quenda: " + UnexpectedErrorText(error)).c_str());
}

std::string ErrorFileTag(const std::string& field) {
  std::string tag = field;
  for (char& c : tag) {
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos ||
        static_cast<unsigned char>(c) < 0x20) {
      c = '_';
    }
  }
  std::string out;
  for (std::size_t i = 0; i < tag.size(); ++i) {
    const bool twoDots = tag[i] == '.' && i + 1 < tag.size() && tag[i + 1] == '.';
    out += twoDots ? '_' : tag[i];
    if (twoDots) ++i;
  }
  return out;
}

void WriteErrorFile(Session& s, const std::string& msgText) {
  // The load of the window comes before the command fields are filled; an error there
  // still goes into the file of the run's tag, read from the command line.
  std::string tag = s.env.CommandFields[1];
  const std::string fields = s.env.CommandFieldsText();
  if (tag.empty() && !fields.empty()) tag = GetToken(fields, 1, "|");
  const std::string errorFile = s.env.TempDir + "SG_" + ErrorFileTag(tag) + ".err";
  try {
    s.files.WriteLines(errorFile, {msgText});
  } catch (const Error& e) {
    ReportEndFailure("Die Fehlerdatei " + errorFile + " wurde nicht geschrieben", e);
    try {
      s.WriteLogLine("Fehlerdatei " + errorFile + " nicht geschrieben: " + e.Description());
    } catch (const Error&) {
      // already told on standard error
    }
  }
}

void ErrorEnd(Session& s, std::string msgText, std::string msgStil, std::string msgTitel,
              int exitStatus) {
  WriteErrorFile(s, msgText);
  if (s.env.BatchMode()) TerminateRun(s, msgText, "BATCH", "Abbruch", exitStatus);
  TerminateRun(s, msgText, msgStil, msgTitel, exitStatus);
}

}  // namespace quenda
