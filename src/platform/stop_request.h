// Requests to stop the program from outside: SIGTERM and SIGINT (a batch system stopping
// a job, Ctrl+C), on Windows the console's Ctrl+C, Ctrl+Break and close events.
#pragma once

#include <functional>
#include <string>

namespace quenda {

// From now on a stop request calls `onStop` with the request's name ("SIGTERM",
// "CTRL_C_EVENT", ...) on a thread of its own, while the program's thread goes on; none
// takes the system's default action. `onStop` ends the process or returns (the request
// changed nothing). Call once, first thing in main, before any other thread starts.
void WatchStopRequests(std::function<void(const std::string&)> onStop);

// From now on a write past the process's file-size limit fails with EFBIG (a failed write
// that names its file) instead of ending the process with SIGXFSZ. POSIX only; nothing on
// Windows, which has no such limit. Call first thing in main.
void FailWritesPastFileSizeLimit();

// In a child process before it runs another program: the requests are the child's own
// again (POSIX: the signals the watcher takes are unblocked, SIGXFSZ takes its default
// action again). Safe between fork and exec.
void ReleaseStopRequestsInChild();

}  // namespace quenda
