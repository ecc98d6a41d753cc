// The front end without a window: loads as usual, presses Start once, then Ende.
#pragma once

#include <string>

namespace quenda {

struct Options;
class Session;
class System;

// Loads the window model, presses Start once, then Ende when Start ended only its
// command. An error that nothing handled still ends the run in order once the run log is
// open. Returns the exit status.
int RunSession(Session& session);

// The text of the answers file of `options` (empty without one); false, told on standard
// error naming the file, when it cannot be read.
bool ReadAnswers(const Options& options, std::string& answers);

// Runs one program start without a window; returns the exit status.
int RunHeadless(const Options& options, System& system);

}  // namespace quenda
