// The front end without a window: loads as usual, presses Start once, then Ende.
#pragma once

#include <memory>
#include <string>

namespace quenda {

struct Options;
class Session;
class System;
class Ui;

// Loads the window model, presses Start once, then Ende when Start ended only its
// command. An error that nothing handled still ends the run in order once the run log is
// open. Returns the exit status.
int RunSession(Session& session);

// The text of the answers file of `options` (empty without one); false, told on standard
// error naming the file, when it cannot be read.
bool ReadAnswers(const Options& options, std::string& answers);

// MakeSession for a front end without a window: null, the error told on standard error,
// when the session cannot be made.
std::unique_ptr<Session> MakeHeadlessSession(const Options& options, Ui& ui, System& system);

// RunSession while a StopWatch watches for stop requests; returns the exit status.
int RunWatchedSession(Session& session);

// Runs one program start without a window; returns the exit status.
int RunHeadless(const Options& options, System& system);

}  // namespace quenda
