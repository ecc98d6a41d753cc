// The one way every run ends: final log line, final box, log closed and moved from the
// temporary folder into the current folder, then RunEnded is thrown to the front end.
#pragma once

#include <string>

namespace quenda {

class Session;

// How TerminateRun ends a run: a mode, whose prefixed text becomes the last line of the run
// log, or a message box of a style number (the buttons and icon Ui::MsgBox takes).
class EndStyle {
 public:
  enum class Mode {
    kBox,         // the box of the style number, no log line
    kBatch,       // the line "!! Abbruch !! " + text, no box
    kBatchOk,     // the line "!! Fertig !! " + text, no box
    kNoFilCop,    // as kBatch
    kNoFilCopOk,  // as kBatchOk
    kEnde,        // the line "!! Ende !! " + text, outside BatchMode also in a box (64)
  };
  // The style of a box whose style is not given: the stop icon, the second button default.
  static constexpr int kDefaultBoxStyle = 272;

  static constexpr EndStyle Box(int style = kDefaultBoxStyle) { return {Mode::kBox, style}; }
  static constexpr EndStyle Batch() { return {Mode::kBatch, 0}; }
  static constexpr EndStyle BatchOk() { return {Mode::kBatchOk, 0}; }
  static constexpr EndStyle NoFilCop() { return {Mode::kNoFilCop, 0}; }
  static constexpr EndStyle NoFilCopOk() { return {Mode::kNoFilCopOk, 0}; }
  static constexpr EndStyle Ende() { return {Mode::kEnde, 0}; }

  constexpr Mode GetMode() const { return mode_; }
  // The box's style number; 0 for a mode.
  constexpr int BoxStyle() const { return boxStyle_; }
  bool operator==(const EndStyle&) const = default;

 private:
  constexpr EndStyle(Mode mode, int boxStyle) : mode_(mode), boxStyle_(boxStyle) {}
  Mode mode_;
  int boxStyle_;
};

// Ends the run in `style`; a box with an empty title or text gets the default
// "Keine Angabe!!!". An end with a status other than 0 whose command line holds the quoted
// fields (BatchRun) writes the error file with `msgText` first, unless the run has written
// one already (ErrorEnd, a Start without a release). Never returns: throws RunEnded with
// `exitStatus`.
[[noreturn]] void TerminateRun(Session& session, std::string msgText, EndStyle style,
                               std::string msgTitel, int exitStatus = 1);

// Writes the error file TempDir + "SG_" + tag + ".err" (one line, the message) for a
// calling batch system, then ends the run: in BatchMode with EndStyle::Batch() and
// "Abbruch", otherwise with the given style and title. A failing error file does not stop
// the end.
[[noreturn]] void ErrorEnd(Session& session, std::string msgText, EndStyle style,
                           std::string msgTitel, int exitStatus = 1);

// Writes the error file TempDir + "SG_" + tag + ".err" with the one line `msgText`; a
// failure is noted in the run log and does not stop the caller. Before CommandFields are
// filled the tag comes from the command line. A run that ends with status 0 in BatchMode
// removes the file of its tag when it is older than the run's start (TerminateRun).
void WriteErrorFile(Session& session, const std::string& msgText);

// Ends the run for a stop request from outside (`cause`: "Signal SIGTERM",
// "Abmelden/Herunterfahren", ...), on whatever thread received it: the log line
// "!! Abbruch !! Abbruch durch " + cause (to the file, not into the window), in BatchMode
// the error file with that text, the log moved; then the process ends with status 130,
// abandoning whatever the run's thread was doing (an open dialog too). Before the run log
// is open it ends the process with 130 at once, and no log is opened any more. Returns
// without doing anything when the end of the run is claimed already (the run is ending
// on its own, or has ended).
void StopRun(Session& session, const std::string& cause);

// "Fehler " + number + ": " + description, for an error that no handler expected.
class Error;
std::string UnexpectedErrorText(const Error& error);
// Tells `error` on standard error: "Quenda: " + UnexpectedErrorText (UTF-8).
void PrintUnexpectedError(const Error& error);

// The tag of the error file: every separator, every other character that cannot stand in
// a Windows file name (: * ? " < > |) and every control character replaced by "_"; the
// tag names a file in the temporary folder and nothing else.
std::string ErrorFileTag(const std::string& field);

}  // namespace quenda
