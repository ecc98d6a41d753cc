// quenda --check-config: reads Config.ini of the program folder as a run does, checks the
// configuration tables and prints one line per finding and a summary.
#pragma once

#include <cstdio>

namespace quenda {

struct Options;
class System;

// Prints the findings ("<file>:<line>: Fehler: <text>" / "Warnung:") and the line
// "<n> Fehler, <m> Warnungen" to `out` (UTF-8), or with --format sarif the SARIF log. Returns 0
// without errors, 1 with errors, 2 when Config.ini cannot be read or names no ConfigPath (the
// reason goes to `err`). An error the check meets on its way goes to `err` and gives 1.
int RunConfigCheck(const Options& options, System& system, std::FILE* out, std::FILE* err);

}  // namespace quenda
