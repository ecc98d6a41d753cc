// The release check of the conservation files: form, labels, kinds, lengths and values of
// every block against the report's slots and the object store read again.
#pragma once

#include <map>
#include <string>

#include "audit/audit_log.h"
#include "audit/release_report.h"

namespace quenda::audit {

// What a conservation file of a release must hold: label -> the value of its block, for
// exactly the slots the file conserves; `header` "aktuelle", "dummy" or empty (a variant
// file, which is empty when it holds no block).
struct ExpectedConservation {
  std::string header;
  std::map<std::string, std::string> values;
};

// Checks the conservation file `path` with contents `bytes`: its header, the form of every
// block, its label a slot of the report, its kind the kind of the label's record in the
// object store text `store` (the report's kind when `store` is empty), its value within
// the slot's length, its lines agreeing with its comment, its value the expected one, and
// every expected label in exactly one block. Adds its entries to `log`.
void AuditConservationFile(const ReleaseReport& report, const std::string& path,
                           const std::string& bytes, const std::string& store,
                           const ExpectedConservation& expected, AuditLog& log);

}  // namespace quenda::audit
