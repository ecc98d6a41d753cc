// A row of a customer table (Config_NNN.csv) as the release check reads it: the first line
// names the columns, every line is cut at each ";", nothing is quoted.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace quenda::audit {

using TableRow = std::map<std::string, std::string>;  // column name -> field (CP1252)

// The row on `line` (1-based, the header is line 1) of the table `bytes`, each field under
// the name of its column; a field beyond the header's columns is dropped, a missing one is
// empty. nullopt when the table has no such line or `line` is the header.
std::optional<TableRow> CustomerTableRow(const std::string& bytes, int line);

}  // namespace quenda::audit
