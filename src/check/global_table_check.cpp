#include "check/global_table_check.h"

#include <algorithm>
#include <optional>

#include "base/error.h"
#include "check/finding.h"
#include "check/table_reading.h"
#include "config/config_selection.h"
#include "platform/files.h"
#include "platform/input_file.h"
#include "session/spec_table.h"
#include "text/batch_text.h"
#include "text/cp1252.h"
#include "text/regional_number.h"
#include "text/tokens.h"

namespace quenda {
namespace {

// A row of the global table as it stands (values not trimmed).
struct GlobalRow {
  int line = 0;
  std::string kunde, sg, expression, index, configuration;
  std::vector<std::string> formatted;  // the "000" columns, in kGlobalTable000Columns order
};

struct GlobalCheck {
  const Files& files;
  const std::string& prefix;
  const std::string& separator;
  RecordSet& records;
  TableReport& report;
  std::vector<GlobalRow> rows;
  std::vector<std::string> named;  // existing customer tables
};

std::vector<GlobalRow> ReadRows(RecordSet& records) {
  std::vector<GlobalRow> rows;
  for (records.MoveFirst(); !records.Eof(); records.MoveNext()) {
    GlobalRow row{records.CurrentLine(),
                  records.Value("Kunde"),
                  records.Value("SG"),
                  records.Value("Expression"),
                  records.Value("Index"),
                  records.Value("Configuration"),
                  {}};
    for (const char* column : kGlobalTable000Columns)
      row.formatted.push_back(records.Value(column));
    rows.push_back(std::move(row));
  }
  return rows;
}

// The lines of the records that the run's filter `filter` selects, in file order.
std::vector<int> LinesInView(RecordSet& records, const std::string& filter) {
  records.Filter(filter);
  std::vector<int> lines;
  for (records.MoveFirst(); !records.Eof(); records.MoveNext()) {
    lines.push_back(records.CurrentLine());
  }
  return lines;
}

const GlobalRow& RowAt(const GlobalCheck& c, int line) {
  return *std::find_if(c.rows.begin(), c.rows.end(),
                       [line](const GlobalRow& r) { return r.line == line; });
}

void CheckConfigurationTable(GlobalCheck& c, const GlobalRow& row) {
  const std::string path = ConfigTablePath(c.prefix, row.configuration, c.separator);
  if (IsNonRegularFile(c.files, path)) {
    c.report.Error(FindingKind::kConfigurationMissing, row.line,
                   NotRegularFileError(path).Description());
  } else if (!c.files.FileExists(path)) {
    c.report.Error(FindingKind::kConfigurationMissing, row.line,
                   "Keine Configuration " + path + " vorhanden!");
  } else if (std::find(c.named.begin(), c.named.end(), path) == c.named.end()) {
    c.named.push_back(path);
  }
}

// The version stands in the call line of ParaSerie.bat, expanded where no quoting holds it:
// a run refuses such a value before it writes the batch.
bool CheckToolVersion(GlobalCheck& c, const GlobalRow& row, const std::string& value) {
  const std::string version = FormatNumber000(value, c.separator);
  const BatchFault fault = FindCommandLineFault(version, true);
  if (fault == BatchFault::kNone) return true;
  c.report.Error(FindingKind::kCommandLineValue, row.line,
                 RefusedBatchValueText("ToolVersion", version, fault, "ParaSerie.bat") +
                     "; ein Lauf bricht vor dem Schreiben ab");
  return false;
}

void CheckNumberColumns(GlobalCheck& c, const GlobalRow& row) {
  for (std::size_t i = 0; i < kGlobalTable000Columns.size(); ++i) {
    const std::string value = Trim(row.formatted[i]);
    if (std::string_view(kGlobalTable000Columns[i]) == "ToolVersion" &&
        !CheckToolVersion(c, row, value)) {
      continue;
    }
    if (ParseRegionalNumber(value, c.separator)) continue;
    c.report.Warning(FindingKind::kNotANumber, row.line,
                     std::string("Spalte ") + kGlobalTable000Columns[i] + ": >" + value +
                         "< ist keine Zahl; das Format \"000\" lässt"_cp +
                         " den Wert als Text stehen");
  }
}

void CheckCondition(GlobalCheck& c, const GlobalRow& row) {
  const std::string shown = ">" + Trim(row.expression) + "<";
  std::optional<Error> problem;
  const std::optional<ConfigCondition> condition = ParseConfigCondition(row.expression, problem);
  if (!condition) {
    const bool equals = row.expression.find('=') != std::string::npos;
    c.report.Error(FindingKind::kExpression, row.line,
                   "Expression " + shown +
                       (equals ? " hat kein \".\" vor dem \"=\"" : " hat kein \"=\"") +
                       "; ein Lauf meldet \"Fehler\" und wählt keine Zeile"_cp);
  } else if (Trim(condition->table).empty()) {
    c.report.Error(FindingKind::kExpression, row.line,
                   "Expression " + shown + " nennt keine Tabelle vor dem \".\"");
  } else if (condition->field.empty()) {
    c.report.Error(FindingKind::kExpression, row.line,
                   "Expression " + shown + " nennt kein Feld nach dem \".\"");
  } else if (Normalized(condition->field, "TRIM") != condition->field) {
    c.report.Error(FindingKind::kExpression, row.line,
                   "Der Feldname >" + condition->field + "< in Expression " + shown +
                       " hat Leerzeichen am Rand; ein Lauf findet das Feld im Job "
                       "nicht");
  }
}

void CheckIndex(GlobalCheck& c, const GlobalRow& row, bool conditional) {
  const std::string index = Trim(row.index);
  if (index.empty() && !conditional) return;  // never used to narrow the table
  if (!WholeNumber(index)) {
    c.report.Error(FindingKind::kIndex, row.line, "Index >" + index + "< ist keine ganze Zahl");
    return;
  }
  const std::string filter = "Index = " + index;
  const std::vector<int> lines = LinesInView(c.records, filter);
  if (!lines.empty() && lines.front() != row.line) {
    c.report.Error(FindingKind::kIndex, row.line,
                   "Index " + index + " steht schon in Zeile " + std::to_string(lines.front()) +
                       "; der Filter \"" + filter + "\" wählt beide Zeilen"_cp);
  }
}

std::string Whose(const GlobalRow& row) {
  return "Kunde >" + Trim(row.kunde) + "< und SG >" + Trim(row.sg) + "<";
}

void CheckSecondUnconditional(GlobalCheck& c, const GlobalRow& row) {
  const std::vector<int> lines =
      LinesInView(c.records, ConfigRowFilter(row.kunde, row.sg) + " And Expression = ''");
  if (lines.empty() || lines.front() == row.line) return;
  c.report.Warning(FindingKind::kRowNeverSelected, row.line,
                   "Zweite Zeile ohne Expression für "_cp + Whose(row) +
                       " (die erste steht in Zeile " + std::to_string(lines.front()) +
                       "): sie wird nie gewählt"_cp);
}

void CheckRepeatedCondition(GlobalCheck& c, const GlobalRow& row) {
  const std::vector<int> lines =
      LinesInView(c.records, ConfigRowFilter(row.kunde, row.sg) + " And Expression <> ''");
  for (int line : lines) {
    if (line == row.line) return;
    if (Trim(RowAt(c, line).expression) != Trim(row.expression)) continue;
    c.report.Warning(FindingKind::kRowNeverSelected, row.line,
                     "Die Bedingung >" + Trim(row.expression) + "< für "_cp + Whose(row) +
                         " steht schon in Zeile " + std::to_string(line) +
                         ": diese Zeile wird nie gewählt"_cp);
    return;
  }
}

void CheckRow(GlobalCheck& c, const GlobalRow& row, bool conditional) {
  CheckConfigurationTable(c, row);
  CheckNumberColumns(c, row);
  CheckIndex(c, row, conditional);
  if (conditional) {
    CheckCondition(c, row);
    CheckRepeatedCondition(c, row);
  } else {
    CheckSecondUnconditional(c, row);
  }
}

bool HasColumns(const RecordSet& records) {
  return std::all_of(kGlobalTableColumns.begin(), kGlobalTableColumns.end(),
                     [&](const char* name) { return records.ColumnIndex(name) >= 0; });
}

}  // namespace

std::vector<std::string> CheckGlobalTable(const Files& files, const std::string& configPrefix,
                                          const std::string& decimalSeparator,
                                          TableReport& report) {
  std::optional<RecordSet> records = ReadTableForCheck(files, report);
  if (!records) return {};
  CheckColumns(*records, kGlobalTableColumns, report);
  if (!HasColumns(*records)) return {};  // the rows cannot be read by name
  GlobalCheck c{files, configPrefix, decimalSeparator, *records, report, ReadRows(*records), {}};
  const std::vector<int> conditional = LinesInView(*records, "Expression <> ''");
  for (const GlobalRow& row : c.rows) {
    CheckRow(c, row,
             std::find(conditional.begin(), conditional.end(), row.line) != conditional.end());
  }
  return c.named;
}

}  // namespace quenda
