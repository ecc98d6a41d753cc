// The release check of the conservation files: form, labels, kinds, lengths and values of
// every block against the report's slots and the object store read again.
#pragma once

#include <string>

#include "audit/audit_log.h"
#include "audit/release_report.h"

namespace quenda {

// Checks the conservation file `path` with contents `bytes`: the "s" and "n" files with
// their header, the variant files ("o", "g", "a", "t") as identification blocks of slots 1
// to 3 (or empty); `store` is the object store text (empty when it could not be read: the
// kinds are then compared with the report's). Adds its entries to `log`.
void AuditConservationFile(const ReleaseReport& report, const std::string& path,
                           const std::string& bytes, const std::string& store, AuditLog& log);

}  // namespace quenda
