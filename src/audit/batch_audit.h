// The release check of the two batch files, read as cmd reads them: ParaSerie.bat (its SET
// variables and its call line) and the run's entry in the collection batch Tarvell.Bat.
#pragma once

#include <map>
#include <string>

#include "audit/audit_log.h"
#include "audit/release_report.h"

namespace quenda::audit {

// The variables that the SET lines of `bytes` leave, in the order set: a plain line
// "SET NAME=value" keeps the rest of the line, a quoted one "SET "NAME=value"" what stands
// between the first and the last quote; "%%" is read as "%" and %NAME% as the variable's
// value so far, as cmd's percent expansion does. Outside double quotes a plain line's "^"
// takes the next character literally and "&", "|", "<", ">" end its value.
std::map<std::string, std::string> BatchVariables(const std::string& bytes);

// cmd's percent expansion of `line` with `variables` (names ignoring case): %% gives %,
// %NAME% the value (an unknown name gives nothing), %0 ... %9 stay.
std::string ExpandBatchLine(const std::string& line,
                            const std::map<std::string, std::string>& variables);

// Checks ParaSerie.bat `path` (contents `bytes`) against the report: each variable equal to
// the value the report's job, parameters and files give (IndexECUM `plantIndex`); the
// call line naming `seriesToolsRoot` and the report's tool version.
void AuditReleaseBatch(const ReleaseReport& report, const std::string& path,
                       const std::string& bytes, const std::string& seriesToolsRoot,
                       const std::string& plantIndex, AuditLog& log);

// Checks that the collection batch `path` holds the entry of the data-version DAB file
// `newDab` once, whole: "Tarvell.exe "" + newDab + "||...", ended by a quote and CR LF.
void AuditCollectionBatch(const ReleaseReport& report, const std::string& path,
                          const std::string& bytes, const std::string& newDab, AuditLog& log);

}  // namespace quenda::audit
