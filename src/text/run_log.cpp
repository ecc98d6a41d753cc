#include "text/run_log.h"

#include "ui/ui.h"

namespace quenda {

void RunLog::WriteLogLine(const std::string& message, bool batchMode) {
  if (!batchMode && view_ != nullptr) view_->AddLogLine(message);
  lastLine_ = message;
  file_.WriteLine(message);
  ui_.LogLineWritten(message);
}

}  // namespace quenda
