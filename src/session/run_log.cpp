#include "session/run_log.h"

#include <chrono>

#include "ui/ui.h"

namespace quenda {

bool RunLog::ClaimEnd() {
  const std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (ender_ == std::thread::id()) ender_ = std::this_thread::get_id();
  return ender_ == std::this_thread::get_id();
}

void RunLog::Stop() {
  const std::lock_guard<std::recursive_mutex> lock(mutex_);
  stopped_ = true;
}

void RunLog::WriteLogLine(const std::string& message, bool batchMode) {
  std::unique_lock<std::recursive_mutex> lock(mutex_);
  if (stopped_ && ender_ != std::this_thread::get_id()) {
    lock.unlock();
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
  }
  if (!batchMode && view_ != nullptr) view_->AddLogLine(message);
  lastLine_ = message;
  file_.WriteLine(message);
  ui_.LogLineWritten(message);
}

}  // namespace quenda
