#include "gui_win32/window_class.h"

#include <algorithm>

#include "gui_win32/program_icon.h"

namespace quenda {
namespace {

// The work area of the monitor the owner is on (the primary monitor without one).
Box WorkAreaOf(HWND owner) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& r = monitor.rcWork;
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

}  // namespace

void RegisterProgramWindowClass(const char* className, WNDPROC proc) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExA(instance, className, &wc)) return;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = ProgramIcon(GetSystemMetrics(SM_CXICON));
  wc.hIconSm = ProgramIcon(GetSystemMetrics(SM_CXSMICON));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = className;
  RegisterClassExA(&wc);
}

Box PlaceOverOwner(HWND owner, Extent client, int dpi, DWORD style, DWORD exStyle) {
  RECT frame{0, 0, client.width, client.height};
  AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi));
  const Box work = WorkAreaOf(owner);
  const Extent size{std::min(static_cast<int>(frame.right - frame.left), work.width),
                    std::min(static_cast<int>(frame.bottom - frame.top), work.height)};
  RECT r{};
  if (owner == nullptr || !GetWindowRect(owner, &r)) return CentreOn(nullptr, size, work);
  const Box around{r.left, r.top, r.right - r.left, r.bottom - r.top};
  return CentreOn(&around, size, work);
}

void RunModal(HWND owner, HWND box, HWND focus, const bool& done) {
  if (owner != nullptr) EnableWindow(owner, FALSE);
  ShowWindow(box, SW_SHOW);
  SetFocus(focus);
  MSG msg{};
  bool quit = false;
  while (!done) {
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      quit = true;  // the program is ending: leave the box and pass the request on
      break;
    }
    if (IsDialogMessageW(box, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (owner != nullptr) EnableWindow(owner, TRUE);
  DestroyWindow(box);
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
}

}  // namespace quenda
