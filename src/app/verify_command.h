// quenda --verify: checks the files a release report names against the SHA-256 the report
// holds for them, so that a release folder can be shown unchanged later.
#pragma once

#include <cstdint>
#include <cstdio>

#include "app/program.h"

namespace quenda {

struct Options;
class System;

// Reads the report `options.verifyReport` (schema 2), resolves each output's path with the
// drive map of the program folder (--program-dir, else the report's programDir; a relative
// folder and relative paths from the run's current folder), digests it again and prints one
// line per file to `out` (UTF-8): "ok: PATH", "geändert: PATH" or "fehlt: PATH" (control
// characters of the path shown by their codes in braces), then the line of counts.
// With `options.verifyInputs` the inputs follow; an input the run itself wrote into (the
// job, by its write-backs) is expected to differ, which its line says and which does not
// count against the release. Returns 0 when every file is as the report says, 1 when one
// is changed or missing, 2 when the report cannot be read (no regular file, longer than
// `reportLimit` bytes), is not of schema 2 or Config.ini is no regular file (the reason
// goes to `err`).
int RunVerify(const Options& options, System& system, std::FILE* out, std::FILE* err,
              std::uintmax_t reportLimit = kMaxReportBytes);

}  // namespace quenda
