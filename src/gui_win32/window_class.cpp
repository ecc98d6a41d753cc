#include "gui_win32/window_class.h"

#include "gui_win32/program_icon.h"

namespace quenda {

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

}  // namespace quenda
