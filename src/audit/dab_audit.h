// The release check of the DAB files and the copies: the customer folder's DAB file
// against its source, the data-version DAB file against its base and the report, and the
// byte copies (hex, dam/dbf, the application files) against their sources.
#pragma once

#include <string>
#include <vector>

#include "audit/audit_log.h"

namespace quenda::audit {

// Checks the DAB copy `copyPath` against its source: line by line the same, except that a
// line whose key (the text before its first "=", blanks removed, any case) is HEX-DATEI
// reads "HEX-Datei = " + the copy's folder + "\" + `hexBase` + ".hex".
void AuditDabCopy(const std::string& sourcePath, const std::string& source,
                  const std::string& copyPath, const std::string& copy, const std::string& hexBase,
                  AuditLog& log);

// Checks the data-version DAB file `path`: the lines of `base` (the base DAB file) and
// then exactly `appended`, every line ended by CR LF. A difference is named by its line.
void AuditDataVersionDab(const std::string& path, const std::string& bytes, const std::string& base,
                         const std::vector<std::string>& appended, AuditLog& log);

// Checks that the copy `copyPath` holds the bytes of `sourcePath`; a difference names its
// first byte and both sizes.
void AuditByteCopy(const std::string& sourcePath, const std::string& source,
                   const std::string& copyPath, const std::string& copy, AuditLog& log);

}  // namespace quenda::audit
