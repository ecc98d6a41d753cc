#include "session/run_log.h"

#include <chrono>

#include "text/line_text.h"
#include "ui/ui.h"

namespace quenda {

void RunLog::WaitWhenStopped(std::unique_lock<std::recursive_mutex>& lock) const {
  if (!stopped_ || ender_ == std::this_thread::get_id()) return;
  lock.unlock();
  for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}

bool RunLog::OpenHeld(const Files& files, const std::string& path, std::string* refusal) {
  std::unique_lock<std::recursive_mutex> lock(mutex_);
  WaitWhenStopped(lock);
  return file_.OpenHeld(files, path, refusal);
}

bool RunLog::ClaimEnd() {
  const std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (ender_ == std::thread::id()) ender_ = std::this_thread::get_id();
  return ender_ == std::this_thread::get_id();
}

RunLog::StopClaim RunLog::ClaimStop() {
  const std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (ender_ != std::thread::id()) return StopClaim::kEnding;
  ender_ = std::this_thread::get_id();
  stopped_ = true;
  return file_.IsOpen() ? StopClaim::kClaimed : StopClaim::kBeforeLog;
}

void RunLog::WriteLogLine(const std::string& text, bool batchMode) {
  // A line carries values from outside; shown by their codes, its line breaks and control
  // characters cannot start a forged line in the file or the window's list.
  const std::string message = ShowCodes(text);
  // The view is told outside the lock: its first line loads the window, which may wait
  // in a dialog for long, and a stop request must not wait for that dialog.
  {
    std::unique_lock<std::recursive_mutex> lock(mutex_);
    WaitWhenStopped(lock);
  }
  if (!batchMode && view_ != nullptr) view_->AddLogLine(message);
  std::unique_lock<std::recursive_mutex> lock(mutex_);
  WaitWhenStopped(lock);
  lastLine_ = message;
  file_.WriteLine(message);
  ui_.LogLineWritten(message);
}

}  // namespace quenda
