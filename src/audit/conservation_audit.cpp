#include "audit/conservation_audit.h"

#include <map>
#include <vector>

#include "audit/conservation_reading.h"
#include "audit/release_source.h"
#include "text/cp1252.h"

namespace quenda::audit {
namespace {

using Faults = std::vector<std::string>;

std::string Quoted(const std::string& value) { return ">" + value + "<"; }

int LengthOf(const ReportSlot& slot) {
  try {
    return std::stoi(slot.length);
  } catch (const std::exception&) {
    return -1;
  }
}

std::string Kind(const ReportSlot& slot, const std::string& store) {
  if (store.empty()) return slot.kind;
  return ObjectStoreKind(store, slot.label).value_or("");
}

void CheckKind(const ConservationBlock& b, const ReportSlot& slot, const std::string& store,
               Faults& faults) {
  const std::string kind = Kind(slot, store);
  const std::string written = KindOfKeyword(b.keyword);
  if (kind.empty()) {
    faults.push_back("Block " + b.label + ": der Objektspeicher hat keinen Datensatz für "_cp +
                     b.label);
  } else if (written != kind) {
    faults.push_back("Block " + b.label + " ist " + b.keyword + " (" + written +
                     "), der Objektspeicher führt "_cp + b.label + " als " + kind);
  }
}

// The block's value as its lines give it, against the comment that shows it.
void CheckComment(const ConservationBlock& b, const ReportSlot& slot, Faults& faults) {
  const std::string kind = KindOfKeyword(b.keyword);
  if (kind == "KTX") {
    if (b.text != b.commentValue) {
      faults.push_back("Block " + b.label + ": Wert " + Quoted(b.text) +
                       " stimmt nicht mit dem Kommentar " + Quoted(b.commentValue) + " überein"_cp);
    }
    return;
  }
  std::string bad;
  const auto expected = ExpectedNumbers(kind, UpperCase(slot.format), b.commentValue, &bad);
  if (!expected && !bad.empty()) {
    faults.push_back("Block " + b.label + ": Kommentarwert " + Quoted(b.commentValue) +
                     " enthält das Paar " + Quoted(bad) + ", keine Hexadezimalzahl"_cp);
  } else if (expected && *expected != b.numbers) {
    faults.push_back("Block " + b.label +
                     ": die Zahlen der Wertzeilen stimmen nicht mit dem "
                     "Kommentar " +
                     Quoted(b.commentValue) + " im Format " + slot.format + " überein"_cp);
  }
}

void CheckLength(const ConservationBlock& b, const ReportSlot& slot, Faults& faults) {
  const int limit = LengthOf(slot);
  const bool text = KindOfKeyword(b.keyword) == "KTX";
  const std::size_t size = text ? b.text.size() : b.numbers.size();
  if (limit < 0 || size <= static_cast<std::size_t>(limit)) return;
  faults.push_back("Block " + b.label + ": Wert " + Quoted(text ? b.text : b.commentValue) +
                   " hat " + std::to_string(size) + (text ? " Zeichen" : " Zahlen") +
                   ", die Länge von "_cp + b.label + " ist " + slot.length);
}

struct BlockFaults {
  Faults form, kind, comment, length, value;
};

void CheckBlock(const ConservationBlock& b, const ReleaseReport& report, const std::string& store,
                const ExpectedConservation& expected, BlockFaults& f) {
  for (const std::string& fault : b.faults) {
    f.form.push_back("Zeile " + std::to_string(b.line) + ": " + fault);
  }
  const ReportSlot* slot = report.SlotOf(b.label);
  if (!b.faults.empty()) return;
  if (slot == nullptr) {
    f.form.push_back("Block " + b.label + " (Zeile " + std::to_string(b.line) +
                     "): das Label ist kein Slot des Berichts");
    return;
  }
  CheckKind(b, *slot, store, f.kind);
  CheckComment(b, *slot, f.comment);
  CheckLength(b, *slot, f.length);
  const auto want = expected.values.find(b.label);
  if (want != expected.values.end() && b.commentValue != want->second) {
    f.value.push_back("Block " + b.label + " (Zeile " + std::to_string(b.line) + "): Wert " +
                      Quoted(b.commentValue) + ", erwartet " + Quoted(want->second) + " (Slot " +
                      std::to_string(slot->slot) + ")");
  }
}

// Every expected label in exactly one block, and no other label twice.
Faults SlotCoverage(const ReleaseReport& report, const ConservationFile& file,
                    const ExpectedConservation& expected) {
  std::map<std::string, int> seen;
  for (const ConservationBlock& b : file.blocks) ++seen[b.label];
  Faults faults;
  for (const auto& [label, value] : expected.values) {
    const int n = seen[label];
    if (n == 1) continue;
    const ReportSlot* slot = report.SlotOf(label);
    faults.push_back("Slot " + (slot != nullptr ? std::to_string(slot->slot) + " " : "") + label +
                     " steht in " + std::to_string(n) + " Blöcken statt in genau einem"_cp);
  }
  for (const auto& [label, n] : seen) {
    if (n > 0 && expected.values.count(label) == 0) {
      faults.push_back("Label " + label + " steht in " + std::to_string(n) +
                       (n == 1 ? " Block" : " Blöcken"_cp) +
                       ", gehört aber nicht in diese Datei"_cp);
    }
  }
  return faults;
}

}  // namespace

void AuditConservationFile(const ReleaseReport& report, const std::string& path,
                           const std::string& bytes, const std::string& store,
                           const ExpectedConservation& expected, AuditLog& log) {
  const bool withHeader = !expected.header.empty();
  if (!withHeader && expected.values.empty()) {
    log.Check("QR-KON-BLOCK", path, "leer (keine Identifikationsblöcke verlangt)"_cp,
              bytes.empty() ? Faults{}
                            : Faults{"die Datei sollte leer sein, sie hat " +
                                     std::to_string(bytes.size()) + " Bytes"});
    return;
  }
  const ConservationFile file = ReadConservationFile(bytes, withHeader);
  Faults header = file.headerFaults;
  if (withHeader && header.empty() && file.header != expected.header) {
    header.push_back("der Kopf ist der " + file.header + "-Kopf, erwartet der " + expected.header +
                     "-Kopf");
  }
  log.Check("QR-KON-HEADER", path, withHeader ? expected.header + "-Kopf" : "ohne Kopf", header);
  BlockFaults f;
  for (const ConservationBlock& b : file.blocks) CheckBlock(b, report, store, expected, f);
  const std::string n = std::to_string(file.blocks.size()) + " Blöcke"_cp;
  log.Check("QR-KON-BLOCK", path, n + " wohlgeformt, ihre Labels Slots des Berichts", f.form);
  log.Check("QR-KON-KIND", path, n + ": Art wie im Objektspeicher", f.kind);
  log.Check("QR-KON-COMMENT", path, n + ": Wertzeilen wie der Kommentar", f.comment);
  log.Check("QR-KON-LENGTH", path, n + ": Wert in der Länge des Slots"_cp, f.length);
  log.Check("QR-KON-VALUE", path, n + ": Wert wie nachgerechnet", f.value);
  log.Check("QR-KON-SLOTS", path, "jeder Slot in genau einem Block",
            SlotCoverage(report, file, expected));
}

}  // namespace quenda::audit
