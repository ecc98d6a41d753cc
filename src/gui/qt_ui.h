// The Ui on Qt 6 Widgets: modal message boxes, input boxes and the open-file dialog,
// the busy pointer, and repainting the window's log view after every line.
#pragma once

#include "ui/window_ui.h"

namespace quenda {

class QtUi : public WindowUi {
 public:
  void SetBusy(bool busy) override;

 protected:
  Answer ShowMessage(const std::string& text, const MessageStyle& style,
                     const std::string& title) override;
  std::string ShowInput(const std::string& prompt, const std::string& title,
                        const std::string& defaultText) override;
  std::optional<std::string> ShowOpenFile(const FileDialogRequest& request) override;

 private:
  bool busy_ = false;
};

}  // namespace quenda
