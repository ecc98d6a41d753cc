// quenda --plan FILE: the whole run made as a real run makes it, with every write kept in
// memory (platform/file_overlay.h), then told as a plan: one UTF-8 JSON object in FILE and
// the same for a person on standard output. Only FILE and the run's own files (its log,
// its transcript, the trace of its command line) reach the disk.
#pragma once

#include <cstdio>
#include <string>

namespace quenda {

struct Options;
class FileOverlay;
class Session;
class System;

// The version of the plan's layout, its first field.
inline constexpr int kPlanSchema = 1;

// The plan of the ended run of `session`, whose writes `overlay` holds, the run having ended
// with `exitStatus`; `createdAt` is the one time the plan tells. The fields: schemaVersion,
// kind "plan", quenda, createdAt, commandLine, programDir, job, configuration, inputs,
// dialogs (without their times), end {reason, message}, folders, changes {path, action,
// before, after, lines}. The object ends in a line feed.
std::string PlanJson(const Session& session, const FileOverlay& overlay, int exitStatus,
                     const std::string& createdAt);

// The plan `planJson` for a person (UTF-8): one line per file ("+ neu", "~ ersetzt",
// ">> angehängt", "= unverändert", "- entfernt"), the changed lines below the text files,
// how the run would end, and the counts: "Plan: N neu, N ersetzt, N angehängt, N unverändert".
std::string PlanText(const std::string& planJson);

// Makes the plan that `options` asks for (--plan, with --answers, --transcript as a headless
// run takes them), writes it to options.planFile, replacing it atomically, and prints
// PlanText to `out`; the run's log lines and dialogs go to `err`. Returns 0 when the run
// would end successfully, 1 when it would end otherwise, 2 when the answers, settings or
// the plan file cannot be read or written, 3 for a question the answers leave open, 130
// when stopped.
int RunPlan(const Options& options, System& system, std::FILE* out, std::FILE* err);

}  // namespace quenda
