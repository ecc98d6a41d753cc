// The results of the release check: one entry per check that passed and one per finding,
// each with a stable rule id, the file it concerns (a Windows path text) and a German text.
#pragma once

#include <string>
#include <vector>

namespace quenda::audit {

struct AuditEntry {
  std::string rule;  // stable id, e.g. "QR-KON-VALUE"
  std::string file;  // CP1252, as the report names it
  bool ok = false;
  std::string text;  // CP1252: what was checked (ok) or what is wrong (finding)
};

class AuditLog {
 public:
  // Records one check of `file`: an ok entry saying `what` when `failures` is empty,
  // otherwise one finding per failure, in order.
  void Check(const std::string& rule, const std::string& file, const std::string& what,
             const std::vector<std::string>& failures);
  // One finding outside a check that could pass (a file missing, unreadable).
  void Fail(const std::string& rule, const std::string& file, const std::string& text);

  const std::vector<AuditEntry>& Entries() const { return entries_; }
  int OkCount() const;
  int FindingCount() const;

 private:
  std::vector<AuditEntry> entries_;
};

// "ok: FILE: TEXT" or "Fehler: FILE: TEXT" (CP1252), control bytes shown by their codes.
std::string FormatAuditEntry(const AuditEntry& entry);
// "<n> ok, <m> Fehler".
std::string AuditSummary(const AuditLog& log);

// What the rule ids mean: id and German short description (UTF-8), for SARIF.
struct AuditRule {
  const char* id;
  const char* description;
};
const std::vector<AuditRule>& AuditRules();

}  // namespace quenda::audit
