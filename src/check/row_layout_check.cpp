#include "check/row_layout_check.h"

#include "check/finding.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

const char* const kShifted = ": die Spalten der Zeile sind wohl verrutscht";

std::string Shown(const std::string& text) { return ">" + text + "<"; }

void CheckLabelAndSlot(const MarkedRow& row, TableReport& report) {
  if (!row.label.empty() && row.arrayNr.empty()) {
    report.Warning(FindingKind::kSlotWithoutLabel, row.line,
                   "Label " + Shown(row.label) + " ohne Array_Nr: die Zeile belegt keinen Slot");
  } else if (row.label.empty() && !row.arrayNr.empty()) {
    report.Warning(FindingKind::kSlotWithoutLabel, row.line,
                   "Array_Nr " + Shown(row.arrayNr) +
                       " ohne Label: die Zeile belegt den Slot ohne Label; das Laden des "
                       "Objektspeichers findet dazu kein Objekt");
  }
}

void CheckFormat(const MarkedRow& row, TableReport& report) {
  if (row.format.empty() || IsFormatWord(row.format)) return;
  if (LooksLikeSlotNumber(row.format)) {
    report.Warning(FindingKind::kShiftedColumn, row.line,
                   "Format " + Shown(row.format) + " sieht aus wie eine Slotnummer" + kShifted);
    return;
  }
  report.Warning(FindingKind::kUnknownFormat, row.line,
                 "Format " + Shown(row.format) +
                     " ist weder HEX, LNI, STR noch leer: ein Lauf schreibt den Wert als "
                     "einfachen Text");
}

// `column` holding a format word, or a slot number where the row's Array_Nr is empty.
void CheckNeighbour(const MarkedRow& row, const char* column, const std::string& value,
                    TableReport& report) {
  if (IsFormatWord(value)) {
    report.Warning(FindingKind::kShiftedColumn, row.line,
                   std::string(column) + " " + Shown(value) + " ist ein Format" + kShifted);
  } else if (row.arrayNr.empty() && LooksLikeSlotNumber(value)) {
    report.Warning(
        FindingKind::kShiftedColumn, row.line,
        std::string(column) + " " + Shown(value) + " sieht aus wie eine Slotnummer" + kShifted);
  }
}

}  // namespace

bool IsFormatWord(const std::string& text) {
  const std::string upper = UpperCase(text);
  return upper == "HEX" || upper == "LNI" || upper == "STR";
}

bool LooksLikeSlotNumber(const std::string& text) {
  if (text.empty() || text.size() > 2 || text[0] == '0') return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return std::stoi(text) <= 20;
}

void CheckRowLayout(const MarkedRows& rows, TableReport& report) {
  for (const MarkedRow& row : rows) {
    CheckLabelAndSlot(row, report);
    if (row.label.empty() && row.arrayNr.empty()) continue;  // no slot: the columns are unused
    CheckFormat(row, report);
    CheckNeighbour(row, "Dummy", row.dummy, report);
    CheckNeighbour(row, "Name_DAB", row.nameDab, report);
  }
}

}  // namespace quenda
