// The program's icon (resource 1 of quenda.exe) at a size in pixels; the system's
// application icon for a program built without it.
#pragma once

#include <windows.h>

namespace quenda {

inline HICON ProgramIcon(int size) {
  HANDLE icon =
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, LR_SHARED);
  return icon != nullptr ? static_cast<HICON>(icon) : LoadIcon(nullptr, IDI_APPLICATION);
}

}  // namespace quenda
