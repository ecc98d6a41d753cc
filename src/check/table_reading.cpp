#include "check/table_reading.h"

#include "base/error.h"
#include "check/finding.h"
#include "platform/files.h"
#include "table/cls_lib.h"
#include "text/cp1252.h"
#include "text/tokens.h"

namespace quenda {
namespace {

constexpr int kHeaderLine = 1;

// A problem of a table that was read (a line), or of one that was not (the file).
void ReportProblem(const Files& files, const TextTableProblem& p, bool read, TableReport& report) {
  if (read) {
    report.Error(p.line, "Die Zeile passt nicht zur Kopfzeile: " + p.error.Description() +
                             "; ein Lauf bricht beim Einlesen der Tabelle ab");
  } else if (files.FileExists(report.File())) {
    report.Error(p.line, "Die Tabelle ist leer (keine Kopfzeile)");
  } else if (!files.Map().CanResolve(report.File())) {
    report.Error(p.line, "Die Tabelle liegt auf keinem Laufwerk der Laufwerkszuordnung [Paths]");
  } else {
    report.Error(p.line, "Die Tabelle gibt es nicht");
  }
}

}  // namespace

std::optional<RecordSet> ReadTableForCheck(const Files& files, TableReport& report) {
  std::vector<TextTableProblem> problems;
  std::optional<RecordSet> records;
  try {
    records = clsLib(files).ReadTextTable(report.File(), ";", true, problems);
  } catch (const Error& e) {
    report.Error(kHeaderLine, "Die Tabelle kann nicht gelesen werden: " + e.Description());
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
      report.Error(kHeaderLine, "Der Spaltenname >" + name +
                                    "< hat Leerzeichen am Rand; eine Suche nach dem Namen ohne "
                                    "sie findet die Spalte nicht");
    }
    const int first = records.ColumnIndex(name);
    if (first != static_cast<int>(i)) {
      report.Error(kHeaderLine, "Die Spalte >" + name + "< gibt es schon als Spalte " +
                                    std::to_string(first + 1) + "; gelesen wird nur die erste");
    }
  }
  for (const char* name : required) {
    if (records.ColumnIndex(name) < 0) {
      report.Error(kHeaderLine, "Die Spalte >" + std::string(name) + "< fehlt");
    }
  }
}

std::string CellOrEmpty(const RecordSet& records, const char* name) {
  return records.ColumnIndex(name) < 0 ? std::string() : records.Value(name);
}

}  // namespace quenda
