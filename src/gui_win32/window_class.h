// The window class of the program's own top-level windows (the main window, the input
// box, the plan box): the program's icon, the arrow cursor, the dialog colour; and how the
// boxes are placed over their owner and run modal.
#pragma once

#include <windows.h>

#include "gui_win32/window_layout.h"

namespace quenda {

// Registers the class `className` with `proc` once per process; a later call for a class
// already registered changes nothing.
void RegisterProgramWindowClass(const char* className, WNDPROC proc);

// The outer place of a box of `style` and `exStyle` whose client area is `client` at `dpi`:
// centred on `owner` (on the primary monitor without one), no larger than the work area of
// the owner's monitor and inside it.
Box PlaceOverOwner(HWND owner, Extent client, int dpi, DWORD style, DWORD exStyle);

// Shows `box` modal over `owner` (disabled meanwhile; may be null), gives `focus` the focus
// and handles messages until `done` holds; then enables the owner and destroys the box. A
// quit request met on the way ends the wait and is posted again afterwards.
void RunModal(HWND owner, HWND box, HWND focus, const bool& done);

}  // namespace quenda
