// The part of a window's Ui that every toolkit shares: the window repaints its log view
// after every line and refreshes its summary when the run's computed values change.
#pragma once

#include <functional>
#include <string>

#include "ui/ui.h"

namespace quenda {

class WindowUi : public Ui {
 public:
  // Called after every change of the model's log view (the window repaints).
  void SetLogViewListener(std::function<void()> listener) { logListener_ = std::move(listener); }
  // Called when the run's computed values changed (the window refreshes its summary).
  void SetSummaryListener(std::function<void()> listener) {
    summaryListener_ = std::move(listener);
  }

  void LogLineWritten(const std::string&) override {}
  void LogViewChanged() override {
    if (logListener_) logListener_();
  }
  void RunSummaryChanged() override {
    if (summaryListener_) summaryListener_();
  }

 private:
  std::function<void()> logListener_;
  std::function<void()> summaryListener_;
};

}  // namespace quenda
