// The run log: one plain-text line per call, no time stamp, each ended by CR LF. Lines
// are also shown in the main window's list (unless in BatchMode) and handed to the Ui.
#pragma once

#include <string>

#include "platform/files.h"

namespace quenda {

class Ui;

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
  bool IsOpen() const { return file_.IsOpen(); }

  // Adds the line to the view (when `batchMode` is off) and then writes it to the file.
  void WriteLogLine(const std::string& message, bool batchMode);

  void Close() { file_.Close(); }

  // The last line written; empty before the first.
  const std::string& LastLine() const { return lastLine_; }

 private:
  Ui& ui_;
  LogView* view_ = nullptr;
  LineFile file_;
  std::string lastLine_;
};

}  // namespace quenda
