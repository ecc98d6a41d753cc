// The release check as a whole: every file of the release that the report names, read
// again through a ReleaseSource and judged with the readers of this folder.
#pragma once

#include <string>

#include "audit/audit_log.h"
#include "audit/release_report.h"
#include "audit/release_source.h"

namespace quenda::audit {

// Checks the release of `report` (read from `reportPath`, which names the report's own
// entries): the run's end, the slot values worked out again from the customer table rows,
// the conservation files, the DAB files, ParaSerie.bat (its call naming
// `seriesToolsRoot`), Tarvell.Bat and the copies. A file the check needs and cannot read
// is a finding naming it. Never throws for what the files hold.
void AuditRelease(const ReleaseReport& report, const std::string& reportPath,
                  const ReleaseSource& source, const std::string& seriesToolsRoot, AuditLog& log);

}  // namespace quenda::audit
