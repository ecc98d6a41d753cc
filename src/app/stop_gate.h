// The process-wide gate of stop requests from outside (SIGTERM, SIGINT, the console's
// events, the end of the user's session): before a run they end the process, during one
// they end that run in order, after it they change nothing.
#pragma once

#include <string>

namespace quenda {

class Session;

// Stop requests from outside, for the whole process: called first in main, so that from
// then on no request takes the system's default action (SIGTERM, SIGINT, the console's
// events). Until a run is watched (StopWatch) a request ends the process with status 130;
// while one is, it ends that run in order (StopRun); after the run it changes nothing.
// A write past the file-size limit fails from then on, and is reported as a failed write.
void WatchProcessStopRequests();

// Hands a stop request on as the watcher does, on the calling thread: the native window's
// end of the session, and tests at a chosen instant. `cause` as StopRun takes it
// ("Signal SIGTERM", "Abmelden/Herunterfahren").
void RequestStop(const std::string& cause);

// While it lives, stop requests end the run of `session` (RequestStop); when it goes,
// which must be before the session goes, it waits for a stop that is ending the run and
// from then on requests change nothing, so the status the front end reports is the
// process's.
class StopWatch {
 public:
  explicit StopWatch(Session& session);
  ~StopWatch();
  StopWatch(const StopWatch&) = delete;
  StopWatch& operator=(const StopWatch&) = delete;
};

}  // namespace quenda
