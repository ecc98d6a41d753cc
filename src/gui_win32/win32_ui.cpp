#include "gui_win32/win32_ui.h"

#include <commdlg.h>

#include "gui_win32/input_box.h"

namespace quenda {
namespace {

// The arrow while a dialog is open, the busy pointer again afterwards.
class ArrowWhileOpen {
 public:
  explicit ArrowWhileOpen(bool busy) : busy_(busy) {
    if (busy_) SetCursor(LoadCursor(nullptr, IDC_ARROW));
  }
  ~ArrowWhileOpen() {
    if (busy_) SetCursor(LoadCursor(nullptr, IDC_WAIT));
  }
  ArrowWhileOpen(const ArrowWhileOpen&) = delete;
  ArrowWhileOpen& operator=(const ArrowWhileOpen&) = delete;

 private:
  bool busy_;
};

Answer AnswerOf(int id) {
  switch (id) {
    case IDCANCEL:
      return Answer::kCancel;
    case IDABORT:
      return Answer::kAbort;
    case IDRETRY:
      return Answer::kRetry;
    case IDIGNORE:
      return Answer::kIgnore;
    case IDYES:
      return Answer::kYes;
    case IDNO:
      return Answer::kNo;
    default:
      return Answer::kOk;
  }
}

}  // namespace

std::string OpenFileFilter(const std::string& filter) {
  std::string out = filter;
  for (char& c : out) {
    if (c == '|') c = '\0';
  }
  if (out.empty() || out.back() != '\0') out += '\0';
  out += '\0';
  return out;
}

void Win32Ui::SetBusy(bool busy) {
  busy_ = busy;
  SetCursor(LoadCursor(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

Answer Win32Ui::ShowMessage(const std::string& text, const MessageStyle& style,
                            const std::string& title) {
  ArrowWhileOpen arrow(busy_);
  const int id = MessageBoxA(owner_, text.c_str(), title.c_str(), static_cast<UINT>(style.number));
  return AnswerOf(id);
}

std::string Win32Ui::ShowInput(const std::string& prompt, const std::string& title,
                               const std::string& defaultText) {
  ArrowWhileOpen arrow(busy_);
  return RunInputBox(owner_, prompt, title, defaultText).value_or(std::string());
}

std::optional<std::string> Win32Ui::ShowOpenFile(const FileDialogRequest& request) {
  ArrowWhileOpen arrow(busy_);
  const std::string filter = OpenFileFilter(request.filter);
  const std::string folder =
      request.initialDirNative.empty() ? request.initialDir : request.initialDirNative;
  char file[MAX_PATH] = "";
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner_;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(request.filterIndex);
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = request.title.c_str();
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER |
              (request.hideReadOnly ? OFN_HIDEREADONLY : 0);
  if (!GetOpenFileNameA(&ofn)) return std::nullopt;
  return std::string(file);
}

}  // namespace quenda
