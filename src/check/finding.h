// Findings of the configuration check: one fault of a configuration table with the
// table's path (as Quenda names it), the 1-based line of the file and a German text.
#pragma once

#include <string>
#include <vector>

namespace quenda {

enum class FindingLevel { Error, Warning };

struct Finding {
  std::string file;
  int line = 1;
  FindingLevel level = FindingLevel::Error;
  std::string text;  // CP1252
};

// The findings of one table, in the order they were found.
class TableReport {
 public:
  explicit TableReport(std::string file) : file_(std::move(file)) {}

  const std::string& File() const { return file_; }
  void Error(int line, const std::string& text);
  void Warning(int line, const std::string& text);
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

// "<n> Fehler, <m> Warnungen".
std::string FindingSummary(const Findings& findings);

}  // namespace quenda
