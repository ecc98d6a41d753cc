// Runs the built quenda binary in a folder and collects its exit status and output.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace quenda::testing {

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs QUENDA_BINARY with `args` in the folder `cwd`. On Windows the arguments up to "--"
// are quoted for the C runtime and the words after it are passed as written, the way a
// user or a calling batch system types the program's command line.
RunResult RunQuenda(const std::vector<std::string>& args, const std::string& cwd);

// Runs QUENDA_BINARY as RunQuenda does, its output discarded, and kills it `after` its
// start unless it has ended by then (POSIX: SIGKILL; Windows: TerminateProcess).
void RunQuendaKilledAfter(const std::vector<std::string>& args, const std::string& cwd,
                          std::chrono::microseconds after);

#ifndef _WIN32
// Starts QUENDA_BINARY with `args` in `cwd`, its standard output and error discarded, and
// returns at once with the process id.
int StartQuenda(const std::vector<std::string>& args, const std::string& cwd);
#endif

}  // namespace quenda::testing
