#include "check/finding.h"

#include <algorithm>

namespace quenda {

void TableReport::Error(int line, const std::string& text) {
  items_.push_back({file_, line, FindingLevel::Error, text});
}

void TableReport::Warning(int line, const std::string& text) {
  items_.push_back({file_, line, FindingLevel::Warning, text});
}

void Findings::Add(const TableReport& report) {
  std::vector<Finding> items = report.Items();
  std::stable_sort(items.begin(), items.end(),
                   [](const Finding& a, const Finding& b) { return a.line < b.line; });
  all_.insert(all_.end(), items.begin(), items.end());
}

int Findings::ErrorCount() const {
  return static_cast<int>(std::count_if(
      all_.begin(), all_.end(), [](const Finding& f) { return f.level == FindingLevel::Error; }));
}

int Findings::WarningCount() const { return static_cast<int>(all_.size()) - ErrorCount(); }

std::string FormatFinding(const Finding& f) {
  const char* level = f.level == FindingLevel::Error ? "Fehler" : "Warnung";
  return f.file + ":" + std::to_string(f.line) + ": " + level + ": " + f.text;
}

std::string FindingSummary(const Findings& findings) {
  return std::to_string(findings.ErrorCount()) + " Fehler, " +
         std::to_string(findings.WarningCount()) + " Warnungen";
}

}  // namespace quenda
