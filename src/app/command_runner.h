// Running one command of the window model, for every front end: a command either returns
// (the window stays open) or ends the run, and an error nothing handled ends it in order.
#pragma once

#include <functional>
#include <optional>

namespace quenda {

class Session;

// Runs a command of the window model. An Error that nothing on the way handled ends the
// run in order (ErrorEnd, style 16, "Abbruch"), and so does any other exception: memory
// running out as error 7 "Nicht genügend Arbeitsspeicher", the rest as 60000
// "Unerwarteter Programmfehler: " + what(). Before the run log is open there is
// nothing to end in order: the error goes into the error file in BatchMode and into a box
// otherwise (status 1). A question that headless mode cannot answer ends the run with
// status 3. Returns the exit status when the run ended, nullopt when only the command
// ended and the window stays open.
std::optional<int> RunCommand(Session& session, const std::function<void()>& command);

}  // namespace quenda
