#include "check/customer_table_check.h"

#include <optional>

#include "check/finding.h"
#include "check/row_layout_check.h"
#include "check/rule_check.h"
#include "check/slot_check.h"
#include "check/table_reading.h"
#include "rules/parameter_intake.h"
#include "session/param_table.h"
#include "text/tokens.h"

namespace quenda {
namespace {

constexpr int kHeaderLine = 1;

MarkedRows ReadMarkedRows(RecordSet& records) {
  MarkedRows rows;
  for (records.MoveFirst(); !records.Eof(); records.MoveNext()) {
    if (!IsMarkedRow(records, kSelectionMarkColumn)) continue;
    auto cell = [&records](const char* name) { return Trim(CellOrEmpty(records, name)); };
    rows.push_back({records.CurrentLine(), cell("Field1_Name_XML"), cell("Rule"), cell("Label"),
                    cell("Array_Nr"), cell("Format"), cell("Dummy"), cell("Name_DAB")});
  }
  return rows;
}

void CheckRowCount(const MarkedRows& rows, TableReport& report) {
  if (rows.size() <= static_cast<std::size_t>(ParamTable::kRows)) return;
  report.Error(FindingKind::kTooManyRows, rows[ParamTable::kRows].line,
               "Mehr als " + std::to_string(ParamTable::kRows) +
                   " markierte Zeilen: ein Lauf bricht bei dieser Zeile ab");
}

void CheckNames(const MarkedRows& rows, TableReport& report) {
  for (const MarkedRow& row : rows) {
    if (row.name.empty())
      report.Error(FindingKind::kRowWithoutName, row.line,
                   "Markierte Zeile ohne Namen (Field1_Name_XML)");
  }
}

}  // namespace

void CheckCustomerTable(const Files& files, const std::string& decimalSeparator,
                        TableReport& report) {
  std::optional<RecordSet> records = ReadTableForCheck(files, report);
  if (!records) return;
  if (records->RecordCount() == 0) {
    report.Error(FindingKind::kTableWithoutRows, kHeaderLine,
                 "Die Tabelle hat nur die Kopfzeile; ein Lauf liest keinen Parameter und bricht "
                 "ab");
  }
  CheckColumns(*records, kStoredParameterColumns, report);
  if (records->ColumnCount() <= kSelectionMarkColumn) {
    report.Error(FindingKind::kColumnMissing, kHeaderLine,
                 "Die Tabelle hat keine dritte Spalte (die Auswahlmarke)");
    return;
  }
  const MarkedRows rows = ReadMarkedRows(*records);
  CheckRowCount(rows, report);
  CheckNames(rows, report);
  const RuleCheckContext context{files, decimalSeparator, rows};
  for (std::size_t i = 0; i < rows.size(); ++i) CheckRule(context, i, report);
  CheckRowLayout(rows, report);
  CheckSlots(rows, report);
}

}  // namespace quenda
