#include "gui_win32/plan_box.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "gui_win32/window_class.h"
#include "gui_win32/window_fonts.h"
#include "gui_win32/window_layout.h"

namespace quenda {
namespace {

constexpr const char* kClassName = "QuendaPlanBox";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
// Enter in the search field presses the default button, which IsDialogMessage finds as IDOK.
constexpr int kNextId = IDOK;
constexpr int kCloseId = IDCANCEL;
enum ControlId { kTextId = 100, kSearchId, kCopyId };

struct BoxState {
  HWND box = nullptr;
  HWND label = nullptr, search = nullptr, next = nullptr, text = nullptr, copy = nullptr,
       close = nullptr;
  std::wstring plan;  // the text as the edit control holds it
  std::unique_ptr<WindowFonts> fonts;
  bool done = false;
};

std::wstring WindowTextW(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

TextMetrics MetricsOf(const BoxState& s) {
  const HFONT font = s.fonts->Text();
  TextMetrics m;
  m.dpi = s.fonts->Dpi();
  m.textHeight = LineHeight(s.box, font);
  m.labelWidth = MeasureText(s.box, font, "Suchen:").width;
  // Measured in the ANSI code page, which need not hold the sharp s; "ss" is as wide at least.
  for (const char* caption : {"Weitersuchen", "Kopieren", "Schliessen"}) {
    m.buttonTextWidth = std::max(m.buttonTextWidth, MeasureText(s.box, font, caption).width);
  }
  return m;
}

void LayOut(const BoxState& s) {
  RECT r{};
  GetClientRect(s.box, &r);
  const PlanBoxLayout l = LayOutPlanBox({r.right, r.bottom}, MetricsOf(s));
  const std::pair<HWND, Box> places[] = {{s.label, l.searchLabel}, {s.search, l.search},
                                         {s.next, l.next},         {s.text, l.text},
                                         {s.copy, l.copy},         {s.close, l.close}};
  for (const auto& [control, box] : places) Place(control, box);
}

void ApplyFonts(BoxState& s, int dpi) {
  auto fonts = std::make_unique<WindowFonts>(dpi);
  for (HWND control : {s.label, s.search, s.next, s.copy, s.close}) {
    SetControlFont(control, fonts->Text());
  }
  SetControlFont(s.text, fonts->Fixed());
  s.fonts = std::move(fonts);  // the old fonts go only when no control uses them
}

// Selects the next place of the search field's text after the selection; a beep when it is
// nowhere.
void FindNext(const BoxState& s) {
  DWORD start = 0, end = 0;
  SendMessageW(s.text, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const std::wstring wanted = WindowTextW(s.search);
  const std::optional<std::size_t> at = FindIgnoringCase(s.plan, wanted, end);
  if (!at) {
    MessageBeep(MB_ICONWARNING);
    return;
  }
  SendMessageW(s.text, EM_SETSEL, *at, *at + wanted.size());
  SendMessageW(s.text, EM_SCROLLCARET, 0, 0);
}

bool OnCommand(BoxState& s, int id) {
  switch (id) {
    case kNextId:
      FindNext(s);
      return true;
    case kCopyId:
      if (!CopyToClipboard(s.box, s.plan)) MessageBeep(MB_ICONWARNING);
      return true;
    case kCloseId:
      s.done = true;
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK BoxProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* s = reinterpret_cast<BoxState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (s == nullptr) return DefWindowProcA(window, message, w, l);
  switch (message) {
    case WM_COMMAND:
      if (OnCommand(*s, LOWORD(w))) return 0;
      break;
    case WM_CLOSE:
      s->done = true;
      return 0;
    case WM_SIZE:
      LayOut(*s);
      return 0;
    case WM_GETMINMAXINFO: {
      const Extent min = PlanBoxMinimumSize(MetricsOf(*s));
      RECT frame{0, 0, min.width, min.height};
      AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, static_cast<UINT>(s->fonts->Dpi()));
      reinterpret_cast<MINMAXINFO*>(l)->ptMinTrackSize = {frame.right - frame.left,
                                                          frame.bottom - frame.top};
      return 0;
    }
    case WM_DPICHANGED: {
      ApplyFonts(*s, HIWORD(w));
      const RECT* suggested = reinterpret_cast<const RECT*>(l);
      SetWindowPos(window, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      LayOut(*s);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, w, l);
}

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id,
           DWORD exStyle = 0) {
  return CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

// The controls in the order Tab visits them: the search row, the text, the bottom row.
void BuildControls(BoxState& s) {
  s.label = Child(s.box, L"STATIC", L"&Suchen:", SS_LEFT, -1);
  s.search = Child(s.box, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, kSearchId, WS_EX_CLIENTEDGE);
  s.next = Child(s.box, L"BUTTON", L"&Weitersuchen", WS_TABSTOP | BS_DEFPUSHBUTTON, kNextId);
  // Read-only, in lines as the plan has them; the selection stays visible while the focus
  // is in the search field.
  s.text = Child(s.box, L"EDIT", L"",
                 WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                     ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL,
                 kTextId, WS_EX_CLIENTEDGE);
  s.copy = Child(s.box, L"BUTTON", L"&Kopieren", WS_TABSTOP | BS_PUSHBUTTON, kCopyId);
  s.close = Child(s.box, L"BUTTON", L"Schlie\u00DFen", WS_TABSTOP | BS_PUSHBUTTON, kCloseId);
  SendMessageW(s.text, EM_SETLIMITTEXT, 0, 0);  // no limit below the plan's length
  SetWindowTextW(s.text, s.plan.c_str());
}

}  // namespace

std::wstring PlanEditText(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(std::max(n, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), n);
  std::wstring text;
  text.reserve(wide.size() + wide.size() / 16);
  for (std::size_t i = 0; i < wide.size(); ++i) {
    if (wide[i] == L'\n' && (i == 0 || wide[i - 1] != L'\r')) text += L'\r';
    text += wide[i];
  }
  return text;
}

std::optional<std::size_t> FindIgnoringCase(const std::wstring& text, const std::wstring& wanted,
                                            std::size_t from) {
  if (wanted.empty() || wanted.size() > text.size()) return std::nullopt;
  // Lower case letter by letter keeps every offset where it was.
  std::wstring haystack = text;
  std::wstring needle = wanted;
  CharLowerBuffW(haystack.data(), static_cast<DWORD>(haystack.size()));
  CharLowerBuffW(needle.data(), static_cast<DWORD>(needle.size()));
  std::size_t at = haystack.find(needle, std::min(from, haystack.size()));
  if (at == std::wstring::npos) at = haystack.find(needle);
  if (at == std::wstring::npos) return std::nullopt;
  return at;
}

bool CopyToClipboard(HWND owner, const std::wstring& text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (memory == nullptr) return false;
  void* target = GlobalLock(memory);
  if (target == nullptr || !OpenClipboard(owner)) {
    if (target != nullptr) GlobalUnlock(memory);
    GlobalFree(memory);
    return false;
  }
  std::memcpy(target, text.c_str(), bytes);
  GlobalUnlock(memory);
  EmptyClipboard();
  // The clipboard owns the memory once it has taken it.
  const bool taken = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  if (!taken) GlobalFree(memory);
  return taken;
}

void RunPlanBox(HWND owner, const std::string& planText) {
  BoxState s;
  s.plan = PlanEditText(planText);
  RegisterProgramWindowClass(kClassName, BoxProc);
  s.box = CreateWindowExA(kExStyle, kClassName, "Vorschau", kStyle, 0, 0, 0, 0, owner, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
  BuildControls(s);
  ApplyFonts(s, DpiOf(owner != nullptr ? owner : s.box));
  SetWindowLongPtrA(s.box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&s));
  const int dpi = s.fonts->Dpi();
  const Box place = PlaceOverOwner(owner, PlanBoxInitialSize(dpi), dpi, kStyle, kExStyle);
  SetWindowPos(s.box, nullptr, place.x, place.y, place.width, place.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  LayOut(s);
  RunModal(owner, s.box, s.search, s.done);
}

}  // namespace quenda
