// A row of a customer configuration table that a run evaluates (selection mark "*"), with
// the stored columns the check judges, trimmed as the parameter table holds them.
#pragma once

#include <string>
#include <vector>

namespace quenda {

struct MarkedRow {
  int line = 0;         // 1-based line of the table
  std::string name;     // Field1_Name_XML
  std::string rule;     // Rule
  std::string label;    // Label
  std::string arrayNr;  // Array_Nr
  std::string format;   // Format
  std::string dummy;    // Dummy
  std::string nameDab;  // Name_DAB
};

using MarkedRows = std::vector<MarkedRow>;

}  // namespace quenda
