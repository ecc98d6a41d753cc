// The findings of the configuration check as a SARIF 2.1.0 log (the OASIS format for
// static-analysis results), which build servers and editors show beside the lines.
#pragma once

#include <functional>
#include <string>

#include "check/finding.h"

namespace quenda {

// The file URI of a table path (CP1252 in, URI out).
using TableUri = std::function<std::string(const std::string& tablePath)>;

// One run of the tool "quenda" in `version` with every rule of FindingRules() (id, name,
// German short description) and one result per finding in the order of `findings`: its
// rule, level "error" or "warning", the text and the location (`uriOf` of its table,
// startLine). UTF-8 JSON, ending in a line end.
std::string SarifLog(const Findings& findings, const std::string& version, const TableUri& uriOf);

// The file URI of an absolute native path in generic form with "/" (UTF-8): "/a b/x.csv"
// gives "file:///a%20b/x.csv", "C:/x.csv" gives "file:///C:/x.csv", "//srv/share/x.csv"
// gives "file://srv/share/x.csv". Every byte outside the letters, digits, "-._~/:@!$&'()*+,;="
// is percent-encoded.
std::string FileUri(const std::string& genericPath);

}  // namespace quenda
