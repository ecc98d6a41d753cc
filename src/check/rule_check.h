// The check of one marked row's rule as the rule functions would evaluate it: the
// function name against the dispatch table, the placeholders of the argument, the
// argument list of XXX, INP, INPV and GET, their list files and field numbers, and the
// parameter that GET reads.
#pragma once

#include <cstddef>
#include <string>

#include "check/marked_row.h"

namespace quenda {

class Files;
class TableReport;

struct RuleCheckContext {
  const Files& files;                   // list files are looked up through its drive map
  const std::string& decimalSeparator;  // for the field numbers
  const MarkedRows& rows;               // all marked rows of the table, in file order
};

// Reports the faults of the rule of rows[index] on its line.
void CheckRule(const RuleCheckContext& context, std::size_t index, TableReport& report);

}  // namespace quenda
