// The run log: one plain-text line per call, no time stamp, each ended by CR LF. Lines
// are also shown in the main window's list (unless in BatchMode) and handed to the Ui.
#pragma once

#include <mutex>
#include <string>
#include <thread>

#include "platform/files.h"
#include "platform/line_file.h"

namespace quenda {

class Ui;

// A run is ended by its own thread or, for a stop request, by the thread that watches for
// it; the log serialises their lines and lets only one of them end the run.

// The main window's side of the log: list entry and action label. Touching it the first
// time loads the window.
class LogView {
 public:
  virtual ~LogView() = default;
  virtual void AddLogLine(const std::string& line) = 0;
};

class RunLog {
 public:
  explicit RunLog(Ui& ui) : ui_(ui) {}

  void SetView(LogView* view) { view_ = view; }

  // Opens `path`, replacing the log of an earlier run; throws the platform error.
  void Open(const Files& files, const std::string& path) { file_.Open(files, path); }
  // As Open, holding the file against other running programs until Close; false when
  // another live run holds it or the file is refused, `refusal` then saying why (see
  // LineFile::OpenHeld). After a stop request has claimed the end of the run, any other
  // thread that tries waits for good.
  bool OpenHeld(const Files& files, const std::string& path, std::string* refusal = nullptr);
  bool IsOpen() const { return file_.IsOpen(); }
  // The whole log as written so far, read through the open file (see LineFile::Content).
  std::string Content() const { return file_.Content(); }

  // Adds the line to the view (when `batchMode` is off) and then writes it to the file.
  // Bytes no line may carry (CR, LF, NUL, ...: text/line_text.h) are written as ShowCodes
  // shows them ("{10}"), so the line stays one line; view, file and Ui get the same text.
  // A line written from another thread than the window's passes `batchMode` true.
  void WriteLogLine(const std::string& message, bool batchMode);

  void Close() { file_.Close(); }

  // The end of a run belongs to one thread: the first to claim it, which may claim it
  // again (an end that meets another end on its way). False for every other thread.
  bool ClaimEnd();
  // How a stop request finds the run (ClaimStop).
  enum class StopClaim { kEnding, kBeforeLog, kClaimed };
  // Claims the end of the run for a stop request: kEnding (and nothing changed) when the
  // end is claimed already, by any thread; otherwise the end is the caller's, from now on
  // only the calling thread writes log lines or opens the log (any other thread that
  // tries waits for good: the caller is ending the process), and the result tells
  // whether the log was open.
  StopClaim ClaimStop();

  // The last line written; empty before the first.
  const std::string& LastLine() const { return lastLine_; }

 private:
  // Waits for good when a stop request owns the log and the caller is another thread.
  // `lock` holds mutex_.
  void WaitWhenStopped(std::unique_lock<std::recursive_mutex>& lock) const;

  std::recursive_mutex mutex_;
  bool stopped_ = false;
  std::thread::id ender_;
  Ui& ui_;
  LogView* view_ = nullptr;
  LineFile file_;
  std::string lastLine_;
};

}  // namespace quenda
