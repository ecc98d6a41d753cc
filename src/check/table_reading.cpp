#include "check/table_reading.h"

#include <algorithm>

#include "base/error.h"
#include "check/finding.h"
#include "check/table_encoding.h"
#include "platform/files.h"
#include "table/cls_lib.h"
#include "text/cp1252.h"
#include "text/line_text.h"
#include "text/tokens.h"

namespace quenda {
namespace {

constexpr int kHeaderLine = 1;

// A problem of a table that was read (a line), or of one that was not (the file).
void ReportProblem(const Files& files, const TextTableProblem& p, bool read, TableReport& report) {
  if (read) {
    report.Error(FindingKind::kLineDoesNotFit, p.line,
                 "Die Zeile passt nicht zur Kopfzeile: " + p.error.Description() +
                     "; ein Lauf bricht beim Einlesen der Tabelle ab");
  } else if (files.FileExists(report.File())) {
    report.Error(FindingKind::kTableUnreadable, p.line, "Die Tabelle ist leer (keine Kopfzeile)");
  } else if (!files.Map().CanResolve(report.File())) {
    report.Error(FindingKind::kTableUnreadable, p.line,
                 "Die Tabelle liegt auf keinem Laufwerk der Laufwerkszuordnung [Paths]");
  } else {
    report.Error(FindingKind::kTableUnreadable, p.line, "Die Tabelle gibt es nicht");
  }
}

// Each line whose field holds NUL: a run passes the value on cut there (a name, a rule, a
// path) or ends on it.
void ReportNulFields(const std::string& bytes, TableReport& report) {
  const std::vector<std::string> lines = SplitTextLines(bytes);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const std::size_t at = line.find('\0');
    if (at == std::string::npos) continue;
    const std::size_t before = line.rfind(';', at);
    const std::size_t start = before == std::string::npos ? 0 : before + 1;
    const std::size_t end = line.find(';', at);  // npos: the last field
    const auto field = std::count(line.begin(), line.begin() + start, ';') + 1;
    report.Error(FindingKind::kNulInField, static_cast<int>(i + 1),
                 "Feld " + std::to_string(field) + " enthält das Zeichen NUL (Code 0): >"_cp +
                     ShowCodesCut(line.substr(start, end - start)) +
                     "<; ein Lauf liest den Wert nur bis dorthin oder bricht ab");
  }
}

// A table saved as UTF-8 is reported once and judged as it was meant (in CP1252), so that
// the findings its bytes would cause in every column name and value are left out.
std::optional<RecordSet> ReadAsMeant(const Files& files, TableReport& report,
                                     std::vector<TextTableProblem>& problems,
                                     std::optional<RecordSet> records) {
  const std::string bytes = files.ReadAll(report.File());
  ReportNulFields(bytes, report);
  const std::optional<std::string> encoding = Utf8TableProblem(bytes);
  if (!encoding) return records;
  report.Error(FindingKind::kEncoding, kHeaderLine, *encoding);
  problems.clear();
  return TextTableFromLines(SplitTextLines(Utf8LettersAsCp1252(bytes)), report.File(), ";", true,
                            problems);
}

}  // namespace

std::optional<RecordSet> ReadTableForCheck(const Files& files, TableReport& report) {
  std::vector<TextTableProblem> problems;
  std::optional<RecordSet> records;
  try {
    records = clsLib(files).ReadTextTable(report.File(), ";", true, problems);
    if (records) records = ReadAsMeant(files, report, problems, std::move(records));
  } catch (const Error& e) {
    report.Error(FindingKind::kTableUnreadable, kHeaderLine,
                 "Die Tabelle kann nicht gelesen werden: " + e.Description());
    return std::nullopt;
  }
  for (const TextTableProblem& p : problems) ReportProblem(files, p, records.has_value(), report);
  return records;
}

void CheckColumns(const RecordSet& records, std::span<const char* const> required,
                  TableReport& report) {
  const std::vector<std::string>& names = records.ColumnNames();
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    if (Normalized(name, "TRIM") != name) {
      report.Error(FindingKind::kColumnName, kHeaderLine,
                   "Der Spaltenname >" + name +
                       "< hat Leerzeichen am Rand; eine Suche nach dem Namen ohne "
                       "sie findet die Spalte nicht");
    }
    const int first = records.ColumnIndex(name);
    if (first != static_cast<int>(i)) {
      report.Error(FindingKind::kColumnName, kHeaderLine,
                   "Die Spalte >" + name + "< gibt es schon als Spalte " +
                       std::to_string(first + 1) + "; gelesen wird nur die erste");
    }
  }
  for (const char* name : required) {
    if (records.ColumnIndex(name) < 0) {
      report.Error(FindingKind::kColumnMissing, kHeaderLine,
                   "Die Spalte >" + std::string(name) + "< fehlt");
    }
  }
}

std::string CellOrEmpty(const RecordSet& records, const char* name) {
  return records.ColumnIndex(name) < 0 ? std::string() : records.Value(name);
}

}  // namespace quenda
