// The front end without a window: loads as usual, presses Start once, then Ende.
#pragma once

namespace quenda {

struct Options;
class System;

// Runs one program start without a window; returns the exit status.
int RunHeadless(const Options& options, System& system);

}  // namespace quenda
