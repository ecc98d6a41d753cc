// The Ui on Win32: MessageBoxA with the style number as given, the input box,
// GetOpenFileNameA, the busy pointer, and repainting the window's log view after every
// line.
#pragma once

#include <windows.h>

#include "ui/window_ui.h"

namespace quenda {

class Win32Ui : public WindowUi {
 public:
  // The window that owns the dialogs (none before the main window exists).
  void SetOwner(HWND owner) { owner_ = owner; }

  void SetBusy(bool busy) override;
  bool Busy() const { return busy_; }

 protected:
  Answer ShowMessage(const std::string& text, const MessageStyle& style,
                     const std::string& title) override;
  std::string ShowInput(const std::string& prompt, const std::string& title,
                        const std::string& defaultText) override;
  std::optional<std::string> ShowOpenFile(const FileDialogRequest& request) override;

 private:
  HWND owner_ = nullptr;
  bool busy_ = false;
};

// The filter text of the logic ("Name (*.xml)|*.xml|All|*.*|") as GetOpenFileNameA wants
// it: the same pairs separated by NUL characters, ended by two NULs.
std::string OpenFileFilter(const std::string& filter);

}  // namespace quenda
