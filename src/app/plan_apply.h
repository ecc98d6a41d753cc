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
class FileRecord;
struct PlannedOutcome;
class System;

// The plan's inputs or the files it would write have changed since it was made.
inline constexpr int kExitPlanStale = 4;

// The first file of the plan `planJson` (UTF-8 JSON, schema 1) whose bytes are no longer
// what the plan found, resolved through `files`: an input whose SHA-256 differs or that is
// gone, a change's target whose SHA-256 differs from its `before`, or that exists where the
// plan would create it. The file's path as the plan names it (UTF-8); none when all are as
// they were. Throws nlohmann::json::exception for a plan without these fields.
std::optional<std::string> StalePlanFile(const Files& files, const std::string& planJson);

// Every file of the plan's changes with the SHA-256 its `after` says and the one the run
// left: as `written` fingerprinted it when the run wrote it, else as it is now (empty when
// there is none).
std::vector<PlannedOutcome> PlannedOutcomes(const Files& files, const FileRecord& written,
                                            const std::string& planJson);

// Reads the plan options.applyPlan, checks it (StalePlanFile) and runs it: the plan's
// command line and program folder, every dialog answered from the plan's dialogs (a question
// the plan does not hold ends the run with 3), the report of options.reportFile when asked.
// Log lines go to `out`, messages to `err`. Returns 2 for a plan that cannot be read or is no
// plan of schema 1, 4 (told as "Der Plan ist veraltet: <path> hat sich seit dem Plan geändert
// (Plan vom <createdAt>)", nothing written) when it is stale, 1 when a file differs from the
// plan (each named; the report's `plan` holds every file with both hashes), else the run's status
// as a headless run gives it.
int RunApply(const Options& options, System& system, std::FILE* out, std::FILE* err);

}  // namespace quenda
