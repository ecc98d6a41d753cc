#include "gui_win32/input_box.h"

namespace quenda {
namespace {

constexpr int kEditId = 100;
constexpr const char* kClassName = "QuendaInputBox";

struct BoxState {
  HWND edit = nullptr;
  bool done = false;
  std::optional<std::string> answer;
};

std::string WindowText(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

LRESULT CALLBACK BoxProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* state = reinterpret_cast<BoxState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (state != nullptr && message == WM_COMMAND && (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL)) {
    if (LOWORD(w) == IDOK) state->answer = WindowText(state->edit);
    state->done = true;
    return 0;
  }
  if (state != nullptr && message == WM_CLOSE) {
    state->done = true;
    return 0;
  }
  return DefWindowProcA(window, message, w, l);
}

void RegisterBoxClass(HINSTANCE instance) {
  WNDCLASSA wc{};
  if (GetClassInfoA(instance, kClassName, &wc)) return;
  wc.lpfnWndProc = BoxProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);
}

HWND Child(HWND parent, const char* cls, const std::string& text, DWORD style, int x, int y, int w,
           int h, int id) {
  HWND child = CreateWindowExA(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                               parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  return child;
}

HWND CreateBox(HWND owner, const std::string& prompt, const std::string& title,
               const std::string& defaultText, BoxState& state) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterBoxClass(instance);
  HWND box = CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kClassName, title.c_str(),
                             WS_POPUP | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 420,
                             180, owner, nullptr, instance, nullptr);
  Child(box, "STATIC", prompt, SS_LEFT | SS_NOPREFIX, 12, 12, 300, 80, -1);
  state.edit = Child(box, "EDIT", defaultText, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 12, 100,
                     380, 22, kEditId);
  Child(box, "BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 322, 12, 70, 24, IDOK);
  Child(box, "BUTTON", "Abbrechen", WS_TABSTOP, 322, 42, 70, 24, IDCANCEL);
  SetWindowLongPtrA(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
  return box;
}

}  // namespace

std::optional<std::string> RunInputBox(HWND owner, const std::string& prompt,
                                       const std::string& title, const std::string& defaultText) {
  BoxState state;
  HWND box = CreateBox(owner, prompt, title, defaultText, state);
  if (owner != nullptr) EnableWindow(owner, FALSE);
  ShowWindow(box, SW_SHOW);
  SetFocus(state.edit);
  SendMessageA(state.edit, EM_SETSEL, 0, -1);
  MSG msg{};
  bool quit = false;
  while (!state.done) {
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
      quit = true;  // the program is ending: leave the box and pass the request on
      break;
    }
    if (IsDialogMessageA(box, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (owner != nullptr) EnableWindow(owner, TRUE);
  DestroyWindow(box);
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
  return state.answer;
}

}  // namespace quenda
