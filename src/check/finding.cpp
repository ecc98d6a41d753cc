#include "check/finding.h"

#include <algorithm>
#include <array>

namespace quenda {
namespace {

constexpr std::array kRules = {
    FindingRule{FindingKind::kTableUnreadable, "QC101", "TableUnreadable",
                "Tabelle fehlt, ist leer oder nicht lesbar"},
    FindingRule{FindingKind::kEncoding, "QC102", "Encoding",
                "Tabelle als UTF-8 statt Windows-1252 (ANSI) gespeichert"},
    FindingRule{FindingKind::kLineDoesNotFit, "QC103", "LineDoesNotFit",
                "Zeile passt nicht zur Kopfzeile"},
    FindingRule{FindingKind::kColumnName, "QC104", "ColumnName",
                "Spaltenname mit Leerzeichen am Rand oder doppelt"},
    FindingRule{FindingKind::kColumnMissing, "QC105", "ColumnMissing", "Spalte fehlt"},
    FindingRule{FindingKind::kTableWithoutRows, "QC106", "TableWithoutRows",
                "Tabelle hat nur die Kopfzeile"},
    FindingRule{FindingKind::kNulInField, "QC107", "NulInField", "Feld mit dem Zeichen NUL"},
    FindingRule{FindingKind::kConfigurationMissing, "QC201", "ConfigurationMissing",
                "Configuration ohne ihre Tabelle Config_NNN.csv"},
    FindingRule{FindingKind::kExpression, "QC202", "Expression",
                "Expression, die ein Lauf nicht auswerten kann"},
    FindingRule{FindingKind::kIndex, "QC203", "Index", "Index keine ganze Zahl oder doppelt"},
    FindingRule{FindingKind::kRowNeverSelected, "QC204", "RowNeverSelected",
                "Zeile, die nie gewählt wird"},
    FindingRule{FindingKind::kNotANumber, "QC205", "NotANumber",
                "Wert keine Zahl, bleibt Text statt \"000\""},
    FindingRule{FindingKind::kCommandLineValue, "QC206", "CommandLineValue",
                "Wert, den ein Lauf nicht in eine Kommandozeile schreibt"},
    FindingRule{FindingKind::kTooManyRows, "QC301", "TooManyRows",
                "Mehr markierte Zeilen als die Parametertabelle fasst"},
    FindingRule{FindingKind::kRowWithoutName, "QC302", "RowWithoutName",
                "Markierte Zeile ohne Namen"},
    FindingRule{FindingKind::kUnknownFunction, "QC303", "UnknownFunction",
                "Unbekannte Regelfunktion"},
    FindingRule{FindingKind::kRuleArgument, "QC304", "RuleArgument",
                "Argument der Regel nicht auswertbar"},
    FindingRule{FindingKind::kArgumentList, "QC305", "ArgumentList",
                "Argumentliste {...} fehlt oder hat die falsche Zahl an Argumenten"},
    FindingRule{FindingKind::kListFileMissing, "QC306", "ListFileMissing",
                "Listendatei der Regel fehlt"},
    FindingRule{FindingKind::kFieldNumber, "QC307", "FieldNumber",
                "Feldnummer der Regel keine 16-Bit-Zahl"},
    FindingRule{FindingKind::kGetParameter, "QC308", "GetParameter",
                "GET liest einen Parameter, der fehlt oder erst später berechnet wird"},
    FindingRule{FindingKind::kSlotNumber, "QC401", "SlotNumber",
                "Array_Nr keine Zahl oder nicht zwischen 0 und 20"},
    FindingRule{FindingKind::kSlotTwice, "QC402", "SlotTwice", "Slot von zwei Zeilen belegt"},
    FindingRule{FindingKind::kSlotGap, "QC403", "SlotGap", "Slot unter dem höchsten nicht belegt"},
    FindingRule{FindingKind::kSlotWithoutLabel, "QC404", "SlotWithoutLabel",
                "Label ohne Array_Nr oder Array_Nr ohne Label"},
    FindingRule{FindingKind::kUnknownFormat, "QC405", "UnknownFormat",
                "Format nicht HEX, LNI, STR oder leer"},
    FindingRule{FindingKind::kShiftedColumn, "QC406", "ShiftedColumn",
                "Wert in der falschen Spalte: Zeile verrutscht"},
    FindingRule{FindingKind::kValueExpression, "QC407", "ValueExpression",
                "Ausdruck ERG=... nicht auswertbar oder mit unbelegtem Slot"},
};

constexpr bool InKindOrder() {
  for (std::size_t i = 0; i < kRules.size(); ++i) {
    if (static_cast<std::size_t>(kRules[i].kind) != i) return false;
  }
  return true;
}
static_assert(InKindOrder(), "kRules must list every FindingKind in the enum's order");

std::string Counted(int n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::span<const FindingRule> FindingRules() { return kRules; }

const FindingRule& FindingRuleOf(FindingKind kind) {
  return kRules[static_cast<std::size_t>(kind)];
}

void TableReport::Error(FindingKind kind, int line, const std::string& text) {
  items_.push_back({file_, line, FindingLevel::kError, kind, text});
}

void TableReport::Warning(FindingKind kind, int line, const std::string& text) {
  items_.push_back({file_, line, FindingLevel::kWarning, kind, text});
}

void Findings::Add(const TableReport& report) {
  std::vector<Finding> items = report.Items();
  std::stable_sort(items.begin(), items.end(),
                   [](const Finding& a, const Finding& b) { return a.line < b.line; });
  all_.insert(all_.end(), items.begin(), items.end());
}

int Findings::ErrorCount() const {
  return static_cast<int>(std::count_if(
      all_.begin(), all_.end(), [](const Finding& f) { return f.level == FindingLevel::kError; }));
}

int Findings::WarningCount() const { return static_cast<int>(all_.size()) - ErrorCount(); }

std::string FormatFinding(const Finding& f) {
  const char* level = f.level == FindingLevel::kError ? "Fehler" : "Warnung";
  return f.file + ":" + std::to_string(f.line) + ": " + level + ": " + f.text;
}

std::string FindingSummary(const Findings& findings) {
  return Counted(findings.ErrorCount(), "Fehler", "Fehler") + ", " +
         Counted(findings.WarningCount(), "Warnung", "Warnungen");
}

}  // namespace quenda
