#include "check/slot_check.h"

#include <algorithm>
#include <array>
#include <optional>

#include "base/error.h"
#include "check/finding.h"
#include "conservation/value_expression.h"
#include "session/spec_table.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

// For each slot the line of the row that defines it last (0: none).
using SlotLines = std::array<int, SpecTable::kSlots>;

// The slot numbers of the rows (nullopt for rows without a valid Array_Nr).
std::vector<std::optional<int>> ReadSlots(const MarkedRows& rows, TableReport& report) {
  std::vector<std::optional<int>> slots;
  for (const MarkedRow& row : rows) {
    std::optional<int> slot;
    if (!row.arrayNr.empty()) {
      std::optional<Error> problem;
      slot = ReadSlotNumber(row.arrayNr, row.name, problem);
      if (problem) report.Error(row.line, problem->Description());
    }
    slots.push_back(slot);
  }
  return slots;
}

SlotLines DefineSlots(const MarkedRows& rows, const std::vector<std::optional<int>>& slots,
                      TableReport& report) {
  SlotLines lines{};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!slots[i]) continue;
    int& line = lines[static_cast<std::size_t>(*slots[i])];
    if (line != 0) {
      report.Warning(rows[i].line, "Slot " + std::to_string(*slots[i]) + " ist schon in Zeile " +
                                       std::to_string(line) +
                                       " belegt; diese spätere Zeile gilt"_cp);
    }
    line = rows[i].line;
  }
  return lines;
}

void CheckGaps(const SlotLines& lines, TableReport& report) {
  int highest = 0;
  for (int n = 1; n < SpecTable::kSlots; ++n) {
    if (lines[static_cast<std::size_t>(n)] != 0) highest = n;
  }
  std::string gaps;
  for (int n = 1; n < highest; ++n) {
    if (lines[static_cast<std::size_t>(n)] == 0)
      gaps += (gaps.empty() ? "" : ", ") + std::to_string(n);
  }
  if (gaps.empty()) return;
  report.Warning(lines[static_cast<std::size_t>(highest)],
                 "Slots bis " + std::to_string(highest) + " sind belegt, aber nicht: " + gaps);
}

void CheckExpression(const MarkedRow& row, const SlotLines& lines, bool allRead,
                     TableReport& report) {
  const std::string dummy = row.dummy.empty() ? "-" : row.dummy;
  if (!IsValueExpressionDummy(dummy)) return;
  const std::string expression = ValueExpressionOfDummy(dummy);
  std::vector<int> named;
  ValueExpressionProblem problem;
  const auto value = ComputeValueExpression(
      expression,
      [&named](int slot) {
        if (std::find(named.begin(), named.end(), slot) == named.end()) named.push_back(slot);
        return std::string();
      },
      problem);
  if (!value) {
    report.Error(row.line,
                 "Ausdruck >" + expression + "<: Verweis >" + problem.part + "< " + problem.why);
    return;
  }
  for (int slot : named) {
    if (!allRead || lines[static_cast<std::size_t>(slot)] != 0) continue;
    report.Warning(row.line, "Ausdruck >" + expression + "< nennt den Slot " +
                                 std::to_string(slot) + ", den keine Zeile belegt");
  }
}

}  // namespace

void CheckSlots(const MarkedRows& rows, TableReport& report) {
  const std::size_t before = report.Items().size();
  const std::vector<std::optional<int>> slots = ReadSlots(rows, report);
  // With an unreadable Array_Nr the slot a row meant is unknown: no gaps are guessed then.
  const bool allRead = report.Items().size() == before;
  const SlotLines lines = DefineSlots(rows, slots, report);
  if (allRead) CheckGaps(lines, report);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (slots[i]) CheckExpression(rows[i], lines, allRead, report);
  }
}

}  // namespace quenda
