// The check of a customer configuration table (Config_NNN.csv): its columns, and each row
// marked for Quenda as the parameter intake, the rule functions and the conservation
// slots would read it.
#pragma once

#include <string>

namespace quenda {

class Files;
class TableReport;

// Checks the customer table at report.File(); `decimalSeparator` is the site's.
void CheckCustomerTable(const Files& files, const std::string& decimalSeparator,
                        TableReport& report);

}  // namespace quenda
