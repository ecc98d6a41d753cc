// The window class of the program's own top-level windows (the main window, the input
// box): the program's icon, the arrow cursor, the dialog colour.
#pragma once

#include <windows.h>

namespace quenda {

// Registers the class `className` with `proc` once per process; a later call for a class
// already registered changes nothing.
void RegisterProgramWindowClass(const char* className, WNDPROC proc);

}  // namespace quenda
