#include "gui_win32/input_box.h"

#include <algorithm>

#include "gui_win32/window_class.h"
#include "gui_win32/window_fonts.h"
#include "gui_win32/window_layout.h"

namespace quenda {
namespace {

constexpr int kEditId = 100;
constexpr const char* kClassName = "QuendaInputBox";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

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

HWND Child(HWND parent, const char* cls, const std::string& text, DWORD style, const Box& box,
           int id, HFONT font, DWORD exStyle = 0) {
  HWND child = CreateWindowExA(exStyle, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, box.x,
                               box.y, box.width, box.height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
  SetControlFont(child, font);
  return child;
}

TextMetrics MetricsFor(HWND window, const WindowFonts& fonts) {
  TextMetrics m;
  m.dpi = fonts.Dpi();
  m.textHeight = LineHeight(window, fonts.Text());
  m.buttonTextWidth = std::max(MeasureText(window, fonts.Text(), "OK").width,
                               MeasureText(window, fonts.Text(), "Abbrechen").width);
  return m;
}

HWND CreateBox(HWND owner, const std::string& prompt, const std::string& title,
               const std::string& defaultText, const WindowFonts& fonts, BoxState& state) {
  RegisterProgramWindowClass(kClassName, BoxProc);
  HWND box = CreateWindowExA(kExStyle, kClassName, title.c_str(), kStyle, 0, 0, 0, 0, owner,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
  const TextMetrics m = MetricsFor(box, fonts);
  const Extent promptSize =
      MeasureText(box, fonts.Text(), prompt, InputPromptWrapWidth(fonts.Dpi()));
  const InputBoxLayout l = LayOutInputBox(promptSize, m);
  const Box place = PlaceOverOwner(owner, l.client, fonts.Dpi(), kStyle, kExStyle);
  SetWindowPos(box, nullptr, place.x, place.y, place.width, place.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  Child(box, "STATIC", prompt, SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, l.prompt, -1, fonts.Text());
  state.edit = Child(box, "EDIT", defaultText, WS_TABSTOP | ES_AUTOHSCROLL, l.edit, kEditId,
                     fonts.Text(), WS_EX_CLIENTEDGE);
  Child(box, "BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, l.ok, IDOK, fonts.Text());
  Child(box, "BUTTON", "Abbrechen", WS_TABSTOP, l.cancel, IDCANCEL, fonts.Text());
  SetWindowLongPtrA(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
  return box;
}

}  // namespace

std::optional<std::string> RunInputBox(HWND owner, const std::string& prompt,
                                       const std::string& title, const std::string& defaultText) {
  BoxState state;
  const WindowFonts fonts(DpiOf(owner));
  HWND box = CreateBox(owner, prompt, title, defaultText, fonts, state);
  SendMessageA(state.edit, EM_SETSEL, 0, -1);
  RunModal(owner, box, state.edit, state.done);
  return state.answer;
}

}  // namespace quenda
