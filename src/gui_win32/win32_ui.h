// The Ui on Win32: MessageBoxA with the style number as given, the input box,
// GetOpenFileNameA, the busy pointer, and repainting the window's log view after every
// line.
#pragma once

#include <windows.h>

#include <functional>

#include "ui/ui.h"

namespace quenda {

class Win32Ui : public Ui {
 public:
  // The window that owns the dialogs (none before the main window exists).
  void SetOwner(HWND owner) { owner_ = owner; }
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
  bool Busy() const { return busy_; }

 protected:
  Answer ShowMessage(const std::string& text, const MessageStyle& style,
                     const std::string& title) override;
  std::string ShowInput(const std::string& prompt, const std::string& title,
                        const std::string& defaultText) override;
  std::optional<std::string> ShowOpenFile(const FileDialogRequest& request) override;

 private:
  HWND owner_ = nullptr;
  std::function<void()> listener_;
  std::function<void()> summaryListener_;
  bool busy_ = false;
};

// The filter text of the logic ("Name (*.xml)|*.xml|All|*.*|") as GetOpenFileNameA wants
// it: the same pairs separated by NUL characters, ended by two NULs.
std::string OpenFileFilter(const std::string& filter);

}  // namespace quenda
