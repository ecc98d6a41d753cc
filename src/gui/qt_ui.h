// The Ui on Qt 6 Widgets: modal message boxes, input boxes and the open-file dialog,
// the busy pointer, and repainting the window's log view after every line.
#pragma once

#include <functional>

#include "ui/ui.h"

namespace quenda {

class QtUi : public Ui {
 public:
  // Called after every change of the model's log view (the window repaints).
  void SetLogViewListener(std::function<void()> listener) { listener_ = std::move(listener); }
  // Called when the run's computed values changed (the window refreshes its summary).
  void SetSummaryListener(std::function<void()> listener) {
    summaryListener_ = std::move(listener);
  }

  void SetBusy(bool busy) override;
  void LogLineWritten(const std::string&) override {}
  void LogViewChanged() override {
    if (listener_) listener_();
  }
  void RunSummaryChanged() override {
    if (summaryListener_) summaryListener_();
  }

 protected:
  Answer ShowMessage(const std::string& text, const MessageStyle& style,
                     const std::string& title) override;
  std::string ShowInput(const std::string& prompt, const std::string& title,
                        const std::string& defaultText) override;
  std::optional<std::string> ShowOpenFile(const FileDialogRequest& request) override;

 private:
  std::function<void()> listener_;
  std::function<void()> summaryListener_;
  bool busy_ = false;
};

}  // namespace quenda
