// quenda --check-release: reads a release again, with the readers of audit/, and says per
// check whether the release holds what its report says the run was to write.
#pragma once

#include <cstdio>
#include <ostream>
#include <string>

#include "app/options.h"

namespace quenda {

class System;

struct ReleaseCheckResult {
  int checks = 0;         // checks that passed
  int findings = 0;       // what is wrong, one per finding
  bool readable = false;  // false: the report could not be read or judged
  // 0 every check ok, 1 a finding, 2 the report unreadable.
  int ExitStatus() const;
};

// Checks the release of the report at `reportPath` (native). Its files are resolved with
// the drive map of `programDir` (native; empty: the report's run.programDir), a relative
// folder and relative paths from the report's run.currentDir. Writes to `out` (UTF-8) one
// line per check, "ok: FILE: TEXT" or "Fehler: FILE: TEXT", then "<n> ok, <m> Fehler"; with
// kSarif a SARIF 2.1.0 log of the findings instead. An unreadable report gives one line
// "Fehler: Bericht PATH ..." (in either format) and readable false. Never throws for what
// the report or the release holds.
ReleaseCheckResult CheckRelease(const std::string& reportPath, const std::string& programDir,
                                std::ostream& out, CheckFormat format = CheckFormat::kText);
// The same with the services of `system` (its executable folder, its settings).
ReleaseCheckResult CheckRelease(const std::string& reportPath, const std::string& programDir,
                                System& system, std::ostream& out, CheckFormat format);

// The command: CheckRelease on options.checkReleaseReport to `out`; an unreadable report's
// reason goes to `err`. Returns the exit status.
int RunCheckRelease(const Options& options, System& system, std::FILE* out, std::FILE* err);

}  // namespace quenda
