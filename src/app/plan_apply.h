// quenda --apply PLAN: runs a plan's job as the plan says it would run, answering each
// question with the plan's answer, after checking that nothing the plan was made of has
// changed since; then checks that every file came out as the plan said.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace quenda {

struct Options;
class Files;
class System;

// The plan's inputs or the files it would write have changed since it was made.
inline constexpr int kExitPlanStale = 4;

// Reads the plan options.applyPlan, checks that no input and no target has changed since
// and runs it: the plan's
// command line and program folder, every dialog answered from the plan's dialogs (a question
// the plan does not hold ends the run with 3), the report of options.reportFile when asked.
// Log lines go to `out`, messages to `err`. Returns 2 for a plan that cannot be read or is no
// plan of schema 1, 4 (told as "Der Plan ist veraltet: <path> hat sich seit dem Plan geändert
// (Plan vom <createdAt>)", nothing written) when it is stale, 1 when a file differs from the
// plan (each named; the report's `plan` holds every file with both hashes), else the run's status
// as a headless run gives it.
int RunApply(const Options& options, System& system, std::FILE* out, std::FILE* err);

}  // namespace quenda
