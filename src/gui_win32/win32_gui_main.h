// The native Win32 window front end.
#pragma once

namespace quenda {

struct Options;
class System;

// Runs one program start with the window; returns the exit status.
int RunWin32Gui(const Options& options, System& system);

}  // namespace quenda
