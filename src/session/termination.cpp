#include "session/termination.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "base/error.h"
#include "session/session.h"
#include "text/cp1252.h"
#include "text/tokens.h"

namespace quenda {
namespace {

// The prefix a mode puts before the message, or nullptr for a box.
const char* ModePrefix(EndStyle::Mode mode) {
  switch (mode) {
    case EndStyle::Mode::kBatch:
    case EndStyle::Mode::kNoFilCop:
      return "!! Abbruch !! ";
    case EndStyle::Mode::kBatchOk:
    case EndStyle::Mode::kNoFilCopOk:
      return "!! Fertig !! ";
    case EndStyle::Mode::kEnde:
      return "!! Ende !! ";
    case EndStyle::Mode::kBox:
      break;
  }
  return nullptr;
}

// The end of a run goes on whatever fails in it; standard error tells what failed.
void ReportEndFailure(const std::string& what, const Error& e) {
  std::fprintf(stderr, "%s\n", Cp1252ToUtf8("Quenda: " + what + ": " + e.Description()).c_str());
  std::fflush(stderr);
}

// `intoWindow` false: the line goes to the file alone (written on another thread than
// the window's).
void WriteFinalLogLine(Session& s, const std::string& line, bool intoWindow = true) {
  try {
    s.log.WriteLogLine(line, !intoWindow || s.env.BatchMode());
  } catch (const Error& e) {
    ReportEndFailure(
        "Die letzte Zeile des Laufprotokolls " + s.state.LaufLogFile + " wurde nicht geschrieben",
        e);
  }
}

void FinalMessage(Session& s, std::string& msgText, EndStyle style, std::string& msgTitel) {
  if (const char* prefix = ModePrefix(style.GetMode())) {
    msgText = prefix + msgText;
    WriteFinalLogLine(s, msgText);
    if (style == EndStyle::Ende() && !s.env.BatchMode()) s.ui.MsgBox(msgText, 64, msgTitel);
    return;
  }
  if (msgTitel.empty()) msgTitel = "Keine Angabe!!!";
  if (msgText.empty()) msgText = "Keine Angabe!!!";
  s.ui.MsgBox(msgText, style.BoxStyle(), msgTitel);
}

// Moves the log into the current folder, copied through the run's own open file (the
// name in the temporary folder may name another run's log by now) and deleted while still
// held, so no other run takes the name over in between and loses its log to this delete.
// A log already there stays where it is. `showBox`: the box of a target in use.
void MoveLog(Session& s, bool showBox) {
  const std::string& logFile = s.state.LaufLogFile;
  const std::string target = s.state.AktDirName + s.state.LaufLogName;
  if (logFile.empty() || !s.log.IsOpen()) return;
  try {
    if (s.files.FileExists(logFile)) s.files.ResetAttributes(logFile);
    if (UpperCase(logFile) == UpperCase(target) || s.files.SameFile(logFile, target)) return;
    s.files.WriteAll(target, s.log.Content());
    s.files.Remove(logFile);
  } catch (const Error& e) {
    ReportEndFailure(
        "Das Laufprotokoll wurde nicht nach " + target + " kopiert und bleibt in " + logFile, e);
    if (e.Number() != kErrPermissionDenied || !showBox) return;
    s.ui.MsgBox(logFile + " kann nicht automatisch kopiert werden!\r\n" +
                "Vermutlich von einer anderen Anwendung belegt!\r\n" +
                "Bitte nach Ende von Plexor direkt nach .\\progst\\plexor.log kopieren.");
  }
}

// The error file of the run's tag (the command line's, when CommandFields are not yet
// filled).
std::string ErrorFilePath(const Session& s) {
  std::string tag = s.env.CommandFields[1];
  if (tag.empty()) tag = s.env.CommandLineFields()[1];
  return s.env.TempDir + "SG_" + ErrorFileTag(tag) + ".err";
}

// A successful run in BatchMode: an error file of its tag left by an earlier run would
// tell the calling batch system that this run failed. One younger than this run's start
// is another run's of the same tag and stays.
void RemoveEarlierErrorFile(Session& s) {
  if (!s.env.BatchMode()) return;
  const std::string errorFile = ErrorFilePath(s);
  try {
    if (!s.files.FileExists(errorFile)) return;
    std::error_code ec;
    const auto written = std::filesystem::last_write_time(s.files.Native(errorFile), ec);
    if (!ec && written < s.env.StartTime) s.files.Remove(errorFile);
  } catch (const Error& e) {
    ReportEndFailure("Die Fehlerdatei " + errorFile + " eines früheren Laufs bleibt"_cp, e);
  }
}

}  // namespace

void TerminateRun(Session& s, std::string msgText, EndStyle style, std::string msgTitel,
                  int exitStatus) {
  if (!s.log.ClaimEnd()) {
    // A stop request is ending the run on the watcher's thread, which ends the process.
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
  }
  // Every abort of a run whose command line holds the fields tells the calling batch
  // system, also one during the load; the first error file of the run is the one it reads.
  if (exitStatus != kExitSuccess && s.env.BatchRun() && !s.state.ErrorFileWritten) {
    WriteErrorFile(s, msgText);
  }
  FinalMessage(s, msgText, style, msgTitel);
  s.state.FinalMessage = msgText;
  if (exitStatus == kExitSuccess) RemoveEarlierErrorFile(s);
  MoveLog(s, true);
  s.log.Close();
  throw RunEnded(exitStatus);
}

void StopRun(Session& s, const std::string& cause) {
  switch (s.log.ClaimStop()) {
    case RunLog::StopClaim::kEnding:
      return;
    case RunLog::StopClaim::kBeforeLog:
      std::_Exit(kExitStopped);  // nothing to report yet, and no log will be opened
    case RunLog::StopClaim::kClaimed:
      break;
  }
  const std::string text = "Abbruch durch " + cause;
  if (s.env.BatchMode() || s.env.BatchRun()) WriteErrorFile(s, text);
  WriteFinalLogLine(s, "!! Abbruch !! " + text, false);
  MoveLog(s, false);
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
  return tag;
}

void WriteErrorFile(Session& s, const std::string& msgText) {
  const std::string errorFile = ErrorFilePath(s);
  s.state.ErrorFileWritten = true;  // tried once: a second try would fail the same way
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

void ErrorEnd(Session& s, std::string msgText, EndStyle style, std::string msgTitel,
              int exitStatus) {
  WriteErrorFile(s, msgText);
  if (s.env.BatchMode()) TerminateRun(s, msgText, EndStyle::Batch(), "Abbruch", exitStatus);
  TerminateRun(s, msgText, style, msgTitel, exitStatus);
}

}  // namespace quenda
