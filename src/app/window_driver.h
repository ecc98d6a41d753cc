// What every front end shares around the main-window model: running one of its commands
// and ending the run in order when the command fails.
#pragma once

#include <functional>
#include <optional>

namespace quenda {

class Session;

// Runs a window command. An Error that nothing on the way handled still ends the run in
// order (ErrorEnd). Returns the exit status when the run ended, nullopt when only the
// command ended and the window stays open.
std::optional<int> RunWindowCommand(Session& session, const std::function<void()>& command);

}  // namespace quenda
