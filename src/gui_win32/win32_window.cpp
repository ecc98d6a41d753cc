#include "gui_win32/win32_window.h"

#include <algorithm>
#include <utility>

#include "app/main_window.h"
#include "app/run_summary.h"
#include "gui_win32/plan_box.h"
#include "gui_win32/summary_list.h"
#include "gui_win32/win32_ui.h"
#include "gui_win32/window_class.h"
#include "gui_win32/window_fonts.h"

namespace quenda {
namespace {

constexpr const char* kClassName = "QuendaMainWindow";
constexpr const char* kVorschauCaption = "&Vorschau";
enum ControlId {
  kText1 = 101,
  kBatDirectory,
  kBatchAuswahl,
  kVorschau,
  kStart,
  kEnde,
  kList,
  kAktion,
  kParams,
  kSlots
};

std::string WindowText(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  const int n = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(n));
  return text;
}

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

// A control of the window; LayOut() gives it its place, ApplyFonts() its font.
HWND Control(HWND parent, const char* cls, const std::string& text, DWORD style, int id,
             DWORD exStyle = 0) {
  return CreateWindowExA(exStyle, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

// The outer size of a window whose client area is `client`, at `dpi`.
Extent WindowSizeFor(Extent client, int dpi) {
  RECT r{0, 0, client.width, client.height};
  AdjustWindowRectExForDpi(&r, kStyle, FALSE, kExStyle, static_cast<UINT>(dpi));
  return {static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top)};
}

}  // namespace

Win32Window::Win32Window(WindowDriver& driver, Win32Ui& ui)
    : driver_(driver), model_(driver.model()), ui_(ui) {
  RegisterProgramWindowClass(kClassName, &Win32Window::WindowProc);
  window_ = CreateWindowExA(kExStyle, kClassName, model_.Captions.Caption.c_str(), kStyle,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                            nullptr, GetModuleHandleA(nullptr), this);
  BuildControls();
  ApplyFonts(DpiOf(window_));
  SizeToOpen();
  LayOut();
  SyncFromModel();
  ui_.SetOwner(window_);
}

Win32Window::~Win32Window() {
  ui_.SetOwner(nullptr);
  if (window_ != nullptr) DestroyWindow(window_);
}

void Win32Window::BuildControls() {
  const MainWindowCaptions& captions = model_.Captions;
  Label8 = Control(window_, "STATIC", captions.Label8, SS_LEFT | SS_NOPREFIX, -1);
  Label1 = Control(window_, "STATIC", captions.Label1, SS_LEFT | SS_NOPREFIX, -1);
  Text1 = Control(window_, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, kText1, WS_EX_CLIENTEDGE);
  Label4 = Control(window_, "STATIC", captions.Label4, SS_LEFT | SS_NOPREFIX, -1);
  BatDirectory =
      Control(window_, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, kBatDirectory, WS_EX_CLIENTEDGE);
  BatchAuswahl = Control(window_, "BUTTON", captions.BatchAuswahl, WS_TABSTOP | BS_AUTOCHECKBOX,
                         kBatchAuswahl);
  // No default button: Enter in a text box starts nothing; Start runs when pressed or, with
  // the focus, by Enter or Space.
  VorschauButton =
      Control(window_, "BUTTON", kVorschauCaption, WS_TABSTOP | BS_PUSHBUTTON, kVorschau);
  StartButton =
      Control(window_, "BUTTON", captions.StartButton, WS_TABSTOP | BS_PUSHBUTTON, kStart);
  EndeButton = Control(window_, "BUTTON", captions.EndeButton, WS_TABSTOP, kEnde);
  ListOutput = Control(window_, "LISTBOX", "", WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                       kList, WS_EX_CLIENTEDGE);
  AktionText =
      Control(window_, "STATIC", "", SS_LEFT | SS_SUNKEN | SS_NOPREFIX | SS_CENTERIMAGE, kAktion);
  ParameterList = CreateSummaryList(window_, kParams);
  SlotList = CreateSummaryList(window_, kSlots);
}

void Win32Window::ApplyFonts(int dpi) {
  auto fonts = std::make_unique<WindowFonts>(dpi);
  for (HWND control : {Label1, Text1, Label4, BatDirectory, BatchAuswahl, VorschauButton,
                       StartButton, EndeButton, ListOutput, AktionText, ParameterList, SlotList}) {
    SetControlFont(control, fonts->Text());
  }
  SetControlFont(Label8, fonts->Title());
  fonts_ = std::move(fonts);  // the old fonts go only when no control uses them
  FitColumns(ParameterList);
  FitColumns(SlotList);
}

TextMetrics Win32Window::Metrics() const {
  const MainWindowCaptions& c = model_.Captions;
  const HFONT text = fonts_->Text();
  TextMetrics m;
  m.dpi = fonts_->Dpi();
  m.textHeight = LineHeight(window_, text);
  m.titleHeight = LineHeight(window_, fonts_->Title());
  m.labelWidth = std::max(MeasureText(window_, text, c.Label1).width,
                          MeasureText(window_, text, c.Label4).width);
  for (const std::string& caption : {c.StartButton, c.EndeButton, std::string("Vorschau")}) {
    m.buttonTextWidth = std::max(m.buttonTextWidth, MeasureText(window_, text, caption).width);
  }
  // The box of a check box is as wide as a line is high, plus the gap to its caption.
  m.checkWidth =
      MeasureText(window_, text, c.BatchAuswahl).width + m.textHeight + ScaleToDpi(8, m.dpi);
  return m;
}

void Win32Window::LayOut() {
  RECT r{};
  GetClientRect(window_, &r);
  const MainWindowLayout l = LayOutMainWindow({r.right, r.bottom}, Metrics());
  const std::pair<HWND, Box> places[] = {{Label8, l.Label8},
                                         {Label1, l.Label1},
                                         {Text1, l.Text1},
                                         {Label4, l.Label4},
                                         {BatDirectory, l.BatDirectory},
                                         {BatchAuswahl, l.BatchAuswahl},
                                         {VorschauButton, l.VorschauButton},
                                         {StartButton, l.StartButton},
                                         {EndeButton, l.EndeButton},
                                         {ListOutput, l.ListOutput},
                                         {AktionText, l.AktionText},
                                         {ParameterList, l.ParameterList},
                                         {SlotList, l.SlotList}};
  for (const auto& [control, box] : places) Place(control, box);
}

void Win32Window::SizeToOpen() {
  const int dpi = fonts_->Dpi();
  const Extent size = WindowSizeFor(InitialClientSize(dpi), dpi);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  const Box area{work.left, work.top, work.right - work.left, work.bottom - work.top};
  const Box place = CentreOn(
      nullptr, {std::min(size.width, area.width), std::min(size.height, area.height)}, area);
  SetWindowPos(window_, nullptr, place.x, place.y, place.width, place.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::SyncFromModel() {
  syncing_ = true;
  SetWindowTextA(Text1, model_.Text1.c_str());
  SetWindowTextA(BatDirectory, model_.BatDirectory.c_str());
  SendMessageA(BatchAuswahl, BM_SETCHECK, model_.BatchAuswahl ? BST_CHECKED : BST_UNCHECKED, 0);
  syncing_ = false;
  SyncLog();
  SyncSummary();
}

void Win32Window::SyncSummary() {
  const RunSummary summary = BuildRunSummary(driver_.session());
  ShowSummaryTable(ParameterList, ParameterTable(summary));
  ShowSummaryTable(SlotList, SlotTable(summary));
  UpdateWindow(ParameterList);
  UpdateWindow(SlotList);
}

void Win32Window::SyncLog() {
  const auto shown = static_cast<std::size_t>(SendMessageA(ListOutput, LB_GETCOUNT, 0, 0));
  for (const std::string& line : driver_.NewLogLines(shown)) {
    SendMessageA(ListOutput, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  }
  SendMessageA(ListOutput, LB_SETCURSEL, static_cast<WPARAM>(model_.ListIndex), 0);
  SetWindowTextA(AktionText, model_.AktionText.c_str());
  // A run does not return to the message loop until it ends: paint now.
  UpdateWindow(ListOutput);
  UpdateWindow(AktionText);
}

void Win32Window::RunFinished(int) {
  ShowWindow(window_, SW_HIDE);
  // No WM_QUIT: a run that ended while loading is outside the message loop, and a quit
  // request left in the queue would end every later modal dialog of the process at once.
  // The loop looks at Finished() after each message.
}

int Win32Window::ShowAndWait() {
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  return RunMessageLoop(*this);
}

void Win32Window::OnCommand(int id, int code) {
  if (syncing_) return;
  if (id == kText1 && code == EN_CHANGE) model_.Text1 = WindowText(Text1);
  if (id == kBatDirectory && code == EN_CHANGE) model_.BatDirectory = WindowText(BatDirectory);
  if (id == kBatchAuswahl && code == BN_CLICKED) {
    model_.BatchAuswahl = SendMessageA(BatchAuswahl, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  if (id == kVorschau && code == BN_CLICKED) ShowPreview();
  if (id == kStart && code == BN_CLICKED) driver_.Start();
  if (id == kEnde && code == BN_CLICKED) driver_.Ende();
}

void Win32Window::ShowPreview() {
  const std::string plan = driver_.Preview();
  RunPlanBox(window_, plan);
}

LRESULT Win32Window::Handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
      if (!Finished()) OnCommand(LOWORD(w), HIWORD(w));
      return 0;
    case WM_SETCURSOR:
      if (!ui_.Busy()) break;
      SetCursor(LoadCursor(nullptr, IDC_WAIT));
      return TRUE;
    case WM_CLOSE:
      if (!Finished()) driver_.Close();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;  // the run ends in order when the session does
    case WM_ENDSESSION:
      if (w != FALSE) driver_.EndSession();  // ends the process, also from a dialog's loop
      return 0;
    case WM_SIZE:
      if (fonts_ != nullptr) LayOut();
      return 0;
    case WM_GETMINMAXINFO:
      if (fonts_ != nullptr) {
        const Extent min = WindowSizeFor(MinimumClientSize(Metrics()), fonts_->Dpi());
        reinterpret_cast<MINMAXINFO*>(l)->ptMinTrackSize = {min.width, min.height};
      }
      return 0;
    case WM_DPICHANGED: {
      // Moved to a monitor of another DPI: new fonts, the size Windows suggests, new places.
      ApplyFonts(HIWORD(w));
      const RECT* suggested = reinterpret_cast<const RECT*>(l);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      LayOut();
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(window_, message, w, l);
}

LRESULT CALLBACK Win32Window::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTA*>(l)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  return self != nullptr ? self->Handle(message, w, l) : DefWindowProcA(window, message, w, l);
}

int RunMessageLoop(Win32Window& window) {
  MSG msg{};
  while (!window.Finished() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(window.Handle(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return window.Finished() ? window.ExitStatus() : static_cast<int>(msg.wParam);
}

}  // namespace quenda
