// The check of a global parameter table (Parameter_Global.csv): its columns, and each
// row as the configuration selection would read it.
#pragma once

#include <string>
#include <vector>

namespace quenda {

class Files;
class TableReport;

// Checks the global table at report.File(); `configPrefix` is the customer tables' path
// up to their number, `decimalSeparator` the site's. Returns the paths of the existing
// customer tables that its rows name, each once, in the order of the rows.
std::vector<std::string> CheckGlobalTable(const Files& files, const std::string& configPrefix,
                                          const std::string& decimalSeparator, TableReport& report);

}  // namespace quenda
