// Errors: one type with a number and a description, like a run-time error of the
// Windows platform, and RunEnded, which unwinds a finished run to its front end.
#pragma once

#include <stdexcept>
#include <string>

namespace quenda {

// Error numbers that show in messages.
enum ErrorNumber : int {
  kErrInvalidArgument = 5,
  kErrOverflow = 6,
  kErrOutOfMemory = 7,
  kErrSubscript = 9,
  kErrDivisionByZero = 11,
  kErrTypeMismatch = 13,
  kErrBadFileName = 52,
  kErrFileNotFound = 53,
  kErrFileExists = 58,
  kErrDiskFull = 61,
  kErrPermissionDenied = 70,
  kErrPathFileAccess = 75,
  kErrPathNotFound = 76,
  kErrObjectNotSet = 91,
  kErrComposed = 60000,  // the system's own composed errors
};

// The German description the platform gives for `number` (empty for unknown numbers).
std::string PlatformErrorText(int number);

// A run-time error. Descriptions are CP1252 text.
class Error : public std::runtime_error {
 public:
  Error(int number, std::string description, std::string source = {});

  int Number() const { return number_; }
  const std::string& Description() const { return description_; }
  const std::string& Source() const { return source_; }

 private:
  int number_;
  std::string description_;
  std::string source_;
};

// The platform error `number` with its standard description, followed by ": " + subject
// when a subject (a path, a value) is given.
Error PlatformError(int number, const std::string& subject = {});

// Error 75 "Fehler beim Zugriff auf Pfad/Datei: <path> ist keine gewöhnliche Datei": a
// folder, FIFO, device or socket where a file is read or written.
Error NotRegularFileError(const std::string& path);

// Raises the system's own composed error: Error 60000 whose description is `text` + " " +
// `underlying`, trimmed. A step raises its own failure as RaiseComposed(text); its handler
// raises an interrupting Error again as RaiseComposed({}, e.Description()), which leaves the
// text of an own failure as it was, so a step needs no exception type of its own.
[[noreturn]] void RaiseComposed(const std::string& text, const std::string& underlying = {});

// Thrown by a Ui that cannot answer a question (headless mode without a fitting answer).
// The front end ends the run in order with Text() and exit status 3. Like RunEnded it
// is no std::exception, so no handler on the way catches it by accident.
class Unanswered {
 public:
  explicit Unanswered(std::string text) : text_(std::move(text)) {}
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// Thrown by TerminateRun and by the front ends to end the run; carries the exit status.
// It is no std::exception on purpose: no handler on the way catches it by accident.
class RunEnded {
 public:
  explicit RunEnded(int exitStatus) : exitStatus_(exitStatus) {}
  int ExitStatus() const { return exitStatus_; }

 private:
  int exitStatus_;
};

// Exit statuses of the program.
enum ExitStatus : int {
  kExitSuccess = 0,
  kExitAborted = 1,
  kExitBadOption = 2,
  kExitUnanswered = 3,
  // The run ended successfully, but a record asked for (--report, --transcript) could
  // not be written whole.
  kExitRecordNotWritten = 5,
  kExitStopped = 130,  // stopped by a signal or a console event
};

}  // namespace quenda
