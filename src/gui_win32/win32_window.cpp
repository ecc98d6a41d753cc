#include "gui_win32/win32_window.h"

#include "app/main_window.h"
#include "app/run_summary.h"
#include "gui_win32/summary_list.h"
#include "gui_win32/win32_ui.h"

namespace quenda {
namespace {

constexpr const char* kClassName = "QuendaMainWindow";
enum ControlId {
  kText1 = 101,
  kBatDirectory,
  kBatchAuswahl,
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

void RegisterWindowClass(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSA wc{};
  if (GetClassInfoA(instance, kClassName, &wc)) return;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);
}

HWND Control(HWND parent, const char* cls, const std::string& text, DWORD style, RECT r, int id,
             DWORD exStyle = 0) {
  HWND child =
      CreateWindowExA(exStyle, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                      r.right, r.bottom, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                      GetModuleHandleA(nullptr), nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  return child;
}

}  // namespace

Win32Window::Win32Window(WindowDriver& driver, Win32Ui& ui)
    : driver_(driver), model_(driver.model()), ui_(ui) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterWindowClass(instance, &Win32Window::WindowProc);
  window_ = CreateWindowExA(WS_EX_CONTROLPARENT, kClassName, model_.Captions.Caption.c_str(),
                            WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 980, 740, nullptr,
                            nullptr, instance, this);
  BuildControls();
  SyncFromModel();
  ui_.SetOwner(window_);
}

Win32Window::~Win32Window() {
  ui_.SetOwner(nullptr);
  if (window_ != nullptr) DestroyWindow(window_);
  if (titleFont_ != nullptr) DeleteObject(titleFont_);
}

void Win32Window::BuildControls() {
  titleFont_ = CreateFontA(-20, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                           "MS Shell Dlg");
  const MainWindowCaptions& captions = model_.Captions;
  Label8 =
      Control(window_, "STATIC", captions.Label8, SS_LEFT | SS_NOPREFIX, {12, 10, 680, 28}, -1);
  SendMessageA(Label8, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_), TRUE);
  Label1 =
      Control(window_, "STATIC", captions.Label1, SS_LEFT | SS_NOPREFIX, {12, 50, 170, 20}, -1);
  Text1 = Control(window_, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, {190, 47, 500, 22}, kText1,
                  WS_EX_CLIENTEDGE);
  Label4 =
      Control(window_, "STATIC", captions.Label4, SS_LEFT | SS_NOPREFIX, {12, 80, 170, 20}, -1);
  BatDirectory = Control(window_, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, {190, 77, 500, 22},
                         kBatDirectory, WS_EX_CLIENTEDGE);
  BatchAuswahl = Control(window_, "BUTTON", captions.BatchAuswahl, WS_TABSTOP | BS_AUTOCHECKBOX,
                         {190, 106, 300, 20}, kBatchAuswahl);
  // No default button: Enter in a text box starts nothing; Start runs when pressed or, with
  // the focus, by Enter or Space.
  StartButton = Control(window_, "BUTTON", captions.StartButton, WS_TABSTOP | BS_PUSHBUTTON,
                        {530, 134, 76, 26}, kStart);
  EndeButton =
      Control(window_, "BUTTON", captions.EndeButton, WS_TABSTOP, {614, 134, 76, 26}, kEnde);
  ListOutput = Control(window_, "LISTBOX", "", WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                       {12, 170, 678, 270}, kList, WS_EX_CLIENTEDGE);
  AktionText = Control(window_, "STATIC", "", SS_LEFT | SS_SUNKEN | SS_NOPREFIX, {12, 448, 678, 22},
                       kAktion);
  ParameterList = CreateSummaryList(window_, {12, 480, 460, 210}, kParams);
  SlotList = CreateSummaryList(window_, {480, 480, 470, 210}, kSlots);
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
  if (id == kStart && code == BN_CLICKED) driver_.Start();
  if (id == kEnde && code == BN_CLICKED) driver_.Ende();
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
