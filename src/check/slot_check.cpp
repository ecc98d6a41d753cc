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

// For each slot the row that defines it last (nullptr: none).
using SlotRows = std::array<const MarkedRow*, SpecTable::kSlots>;

// The slots the identification blocks of the variant files are written from.
bool IsIdentificationSlot(int slot) { return slot >= 1 && slot <= 3; }

// The slot numbers of the rows (nullopt for rows without a valid Array_Nr).
std::vector<std::optional<int>> ReadSlots(const MarkedRows& rows, TableReport& report) {
  std::vector<std::optional<int>> slots;
  for (const MarkedRow& row : rows) {
    std::optional<int> slot;
    if (!row.arrayNr.empty()) {
      std::optional<Error> problem;
      slot = ReadSlotNumber(row.arrayNr, row.name, problem);
      if (problem) report.Error(FindingKind::kSlotNumber, row.line, problem->Description());
    }
    slots.push_back(slot);
  }
  return slots;
}

// A second row for `slot`: the later row wins. That is an error when it replaces an
// identification slot or another label, a warning when it only repeats the slot.
void ReportSecondRow(const MarkedRow& earlier, const MarkedRow& later, int slot,
                     TableReport& report) {
  const std::string head = "Slot " + std::to_string(slot) + " ist schon in Zeile " +
                           std::to_string(earlier.line) + " belegt";
  if (IsIdentificationSlot(slot)) {
    report.Error(FindingKind::kSlotTwice, later.line,
                 head + "; diese spätere Zeile ersetzt einen Identifikationsslot (1 bis 3)"_cp);
  } else if (earlier.label != later.label) {
    report.Error(FindingKind::kSlotTwice, later.line,
                 head + " mit dem Label >" + earlier.label +
                     "<; diese spätere Zeile ersetzt es durch >"_cp + later.label + "<");
  } else {
    report.Warning(FindingKind::kSlotTwice, later.line, head + "; diese spätere Zeile gilt"_cp);
  }
}

SlotRows DefineSlots(const MarkedRows& rows, const std::vector<std::optional<int>>& slots,
                     TableReport& report) {
  SlotRows owners{};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!slots[i]) continue;
    const MarkedRow*& owner = owners[static_cast<std::size_t>(*slots[i])];
    if (owner != nullptr) ReportSecondRow(*owner, rows[i], *slots[i], report);
    owner = &rows[i];
  }
  return owners;
}

void CheckGaps(const SlotRows& owners, TableReport& report) {
  int highest = 0;
  for (int n = 1; n < SpecTable::kSlots; ++n) {
    if (owners[static_cast<std::size_t>(n)] != nullptr) highest = n;
  }
  std::string gaps;
  for (int n = 1; n < highest; ++n) {
    if (owners[static_cast<std::size_t>(n)] == nullptr)
      gaps += (gaps.empty() ? "" : ", ") + std::to_string(n);
  }
  if (gaps.empty()) return;
  report.Warning(FindingKind::kSlotGap, owners[static_cast<std::size_t>(highest)]->line,
                 "Slots bis " + std::to_string(highest) + " sind belegt, aber nicht: " + gaps);
}

void CheckExpression(const MarkedRow& row, const SlotRows& owners, bool allRead,
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
    report.Error(FindingKind::kValueExpression, row.line,
                 "Ausdruck >" + expression + "<: Verweis >" + problem.part + "< " + problem.why);
    return;
  }
  for (int slot : named) {
    if (!allRead || owners[static_cast<std::size_t>(slot)] != nullptr) continue;
    report.Warning(FindingKind::kValueExpression, row.line,
                   "Ausdruck >" + expression + "< nennt den Slot " + std::to_string(slot) +
                       ", den keine Zeile belegt");
  }
}

}  // namespace

void CheckSlots(const MarkedRows& rows, TableReport& report) {
  const std::size_t before = report.Items().size();
  const std::vector<std::optional<int>> slots = ReadSlots(rows, report);
  // With an unreadable Array_Nr the slot a row meant is unknown: no gaps are guessed then.
  const bool allRead = report.Items().size() == before;
  const SlotRows owners = DefineSlots(rows, slots, report);
  if (allRead) CheckGaps(owners, report);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (slots[i]) CheckExpression(rows[i], owners, allRead, report);
  }
}

}  // namespace quenda
