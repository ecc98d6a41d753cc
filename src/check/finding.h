// Findings of the configuration check: one fault of a configuration table with the
// table's path (as Quenda names it), the 1-based line of the file, its kind and a German
// text.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace quenda {

enum class FindingLevel { kError, kWarning };

// The kinds of finding; each has a rule (FindingRuleOf) with a stable id.
enum class FindingKind {
  kTableUnreadable,
  kEncoding,
  kLineDoesNotFit,
  kColumnName,
  kColumnMissing,
  kTableWithoutRows,
  kNulInField,
  kConfigurationMissing,
  kExpression,
  kIndex,
  kRowNeverSelected,
  kNotANumber,
  kCommandLineValue,
  kTooManyRows,
  kRowWithoutName,
  kUnknownFunction,
  kRuleArgument,
  kArgumentList,
  kListFileMissing,
  kFieldNumber,
  kGetParameter,
  kSlotNumber,
  kSlotTwice,
  kSlotGap,
  kSlotWithoutLabel,
  kUnknownFormat,
  kShiftedColumn,
  kValueExpression,
};

// What a kind of finding means: a stable id (kept across versions, tools filter by it),
// a name and a German short description (UTF-8, for SARIF).
struct FindingRule {
  FindingKind kind;
  const char* id;
  const char* name;
  const char* description;
};

// Every rule, in the order of FindingKind.
std::span<const FindingRule> FindingRules();
const FindingRule& FindingRuleOf(FindingKind kind);

struct Finding {
  std::string file;
  int line = 1;
  FindingLevel level = FindingLevel::kError;
  FindingKind kind = FindingKind::kTableUnreadable;
  std::string text;  // CP1252
};

// The findings of one table, in the order they were found.
class TableReport {
 public:
  explicit TableReport(std::string file) : file_(std::move(file)) {}

  const std::string& File() const { return file_; }
  void Error(FindingKind kind, int line, const std::string& text);
  void Warning(FindingKind kind, int line, const std::string& text);
  const std::vector<Finding>& Items() const { return items_; }

 private:
  std::string file_;
  std::vector<Finding> items_;
};

// The findings of all tables, in the order of the tables, each table's by line.
class Findings {
 public:
  // Appends the report's findings, sorted by line (findings of one line keep their order).
  void Add(const TableReport& report);
  const std::vector<Finding>& All() const { return all_; }
  int ErrorCount() const;
  int WarningCount() const;

 private:
  std::vector<Finding> all_;
};

// "<file>:<line>: Fehler: <text>" or "... Warnung: ..." (CP1252).
std::string FormatFinding(const Finding& finding);

// "<n> Fehler, <m> Warnungen", with "1 Warnung" in the singular.
std::string FindingSummary(const Findings& findings);

}  // namespace quenda
