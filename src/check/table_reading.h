// Reading a configuration table for the check: the run's own reader, with each fault it
// meets reported as a finding, and the judgement of the header line.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "table/record_set.h"

namespace quenda {

class Files;
class TableReport;

// The table at report.File() (";", header line) as a run reads it. A missing or empty
// file, or one that cannot be read, is reported on line 1 and gives nullopt; a line with
// more fields than the header (or a value too long) is reported on its line and left out.
std::optional<RecordSet> ReadTableForCheck(const Files& files, TableReport& report);

// Judges the header (line 1): column names with blanks around them, names that occur
// twice (compared as the lookup compares them, ignoring letter case) and each of
// `required` that a lookup by name does not find.
void CheckColumns(const RecordSet& records, std::span<const char* const> required,
                  TableReport& report);

// The current record's value of column `name`, or "" when the table has no such column.
std::string CellOrEmpty(const RecordSet& records, const char* name);

}  // namespace quenda
