// The Qt 6 window front end.
#pragma once

namespace quenda {

struct Options;
class System;

// Runs one program start with the window; returns the exit status.
int RunGui(int argc, char** argv, const Options& options, System& system);

}  // namespace quenda
