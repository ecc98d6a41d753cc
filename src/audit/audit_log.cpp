#include "audit/audit_log.h"

#include <algorithm>

#include "text/line_text.h"

namespace quenda::audit {

void AuditLog::Check(const std::string& rule, const std::string& file, const std::string& what,
                     const std::vector<std::string>& failures) {
  if (failures.empty()) entries_.push_back({rule, file, true, what});
  for (const std::string& f : failures) entries_.push_back({rule, file, false, f});
}

void AuditLog::Fail(const std::string& rule, const std::string& file, const std::string& text) {
  entries_.push_back({rule, file, false, text});
}

int AuditLog::OkCount() const {
  return static_cast<int>(
      std::count_if(entries_.begin(), entries_.end(), [](const AuditEntry& e) { return e.ok; }));
}

int AuditLog::FindingCount() const { return static_cast<int>(entries_.size()) - OkCount(); }

std::string FormatAuditEntry(const AuditEntry& entry) {
  return std::string(entry.ok ? "ok: " : "Fehler: ") + ShowCodes(entry.file) + ": " +
         ShowCodes(entry.text);
}

std::string AuditSummary(const AuditLog& log) {
  return std::to_string(log.OkCount()) + " ok, " + std::to_string(log.FindingCount()) + " Fehler";
}

const std::vector<AuditRule>& AuditRules() {
  static const std::vector<AuditRule> rules = {
      {"QR-RUN", "Der Lauf des Berichts endete nicht erfolgreich"},
      {"QR-FILE", "Eine Datei der Freigabe fehlt oder ist nicht lesbar"},
      {"QR-KON-HEADER", "Kopf der Konservierungsdatei"},
      {"QR-KON-BLOCK", "Block der Konservierungsdatei nicht wohlgeformt"},
      {"QR-KON-LABEL", "Label eines Blocks ist kein Slot des Berichts"},
      {"QR-KON-KIND", "Blockart passt nicht zur Art im Objektspeicher"},
      {"QR-KON-LENGTH", "Wert länger als die Länge des Slots"},
      {"QR-KON-VALUE", "Wert des Blocks weicht vom Wert des Slots ab"},
      {"QR-KON-COMMENT", "Kommentar des Blocks passt nicht zum Wert"},
      {"QR-KON-SLOTS", "Slot fehlt oder steht mehrfach in der Konservierungsdatei"},
      {"QR-DAB", "Zeilen der Datenstands-DAB-Datei"},
      {"QR-BAT-SET", "Variable in ParaSerie.bat weicht vom Bericht ab"},
      {"QR-BAT-CALL", "Aufrufzeile in ParaSerie.bat nennt nicht die Werkzeugversion"},
      {"QR-TARVELL", "Eintrag in Tarvell.Bat fehlt, ist unvollständig oder doppelt"},
      {"QR-COPY", "Kopie weicht von ihrer Quelle ab"},
  };
  return rules;
}

}  // namespace quenda::audit
