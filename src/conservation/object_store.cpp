#include "conservation/object_store.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "base/error.h"
#include "conservation/object_records.h"
#include "platform/sha256.h"
#include "session/session.h"
#include "session/termination.h"
#include "text/cp1252.h"
#include "text/tokens.h"

namespace quenda {
namespace {

// The length attribute of a kind and what the defined length lies below its value.
struct LengthAttribute {
  const char* key;
  int offset;
};

const LengthAttribute* AttributeFor(const std::string& kind) {
  static const LengthAttribute ktx{":MaxAnz=", 1};
  static const LengthAttribute kwb{":Anz=", 0};
  static const LengthAttribute fkl{":AnzX=", 0};
  if (kind == "KTX") return &ktx;
  if (kind == "KWB") return &kwb;
  if (kind == "FKL") return &fkl;
  return nullptr;
}

[[noreturn]] void Abort(Session& s, const std::string& message) {
  TerminateRun(s, message, s.env.BatchMode() ? EndStyle::Batch() : EndStyle::Box(48), "Abbruch");
}

// The defined length of the object, or the run ends with a message naming it.
std::string DefinedLength(Session& s, const std::string& label, const std::string& record,
                          const LengthAttribute& attribute) {
  const std::string where = "DAMOS-OSP " + s.state.OspName + ", Objekt " + label + ": ";
  std::string text;
  try {
    text = GetRecordAttribute(record, attribute.key);
  } catch (const Error& e) {
    ErrorEnd(s, where + e.Description(), EndStyle::Box(48), "Abbruch");
  }
  const std::optional<int> value = WholeNumber(text);
  if (!value || *value - attribute.offset < 1) {  // an object holds at least one value
    ErrorEnd(s, where + "Attribut " + attribute.key + " >" + text + "< ist keine gültige Länge"_cp,
             EndStyle::Box(48), "Abbruch");
  }
  return std::to_string(*value - attribute.offset);
}

// The labels of slots 1..SpecCount (at most the twenty slots there are).
std::vector<std::string> SlotLabels(const SpecTable& spec) {
  std::vector<std::string> labels;
  for (int i = 1; i <= std::min<int>(spec.SpecCount, SpecTable::kSlots - 1); ++i) {
    labels.push_back(spec.At(i).Label);
  }
  return labels;
}

void CheckSlot(Session& s, SpecSlot& slot, const std::string& record) {
  const std::string& label = slot.Label;
  const std::string field = GetToken(record, 4, ":");
  if (UpperCase(GetToken(field, 0, "=")) != "STYP") {
    Abort(s, "Eindeutige Selektion von Spezifikation für "_cp + label +
                 " aus DAMOS-OSP nicht möglich!"_cp);
  }
  const std::string kind = UpperCase(GetToken(field, 1, "="));
  const LengthAttribute* attribute = AttributeFor(kind);
  if (attribute == nullptr) {
    Abort(s, "Kenngrössenart = "_cp + field + " unbekannt, bitte bei Orbisk beantragen!");
  }
  slot.Kind = kind;
  slot.Length = DefinedLength(s, label, record, *attribute);
  s.WriteLogLine("Länge "_cp + label + " = " + slot.Length);
  s.WriteLogLine("Typ " + label + " = " + slot.Kind);
}

}  // namespace

void LoadObjectStoreText(Session& s, const std::string& fileName, const std::string& message) {
  if (!message.empty()) s.WriteLogLine(message);
  s.state.ObjectStoreText = MappedFile();  // the old text goes before the new one comes
  try {
    s.state.ObjectStoreText = MappedFile(s.files, fileName);
  } catch (const Error& e) {
    ErrorEnd(s, "Objektspeicher " + fileName + " kann nicht gelesen werden: " + e.Description(),
             EndStyle::Box(48), "Abbruch");
  }
}

void LoadObjectStore(Session& s) {
  LoadObjectStoreText(s, s.state.OspName, "Objektspeicher zur Analyse laden");
  const std::string_view text = s.state.ObjectStoreText.Text();
  // The store's fingerprint for the record is taken beside the scan, not after it.
  std::optional<DigestBeside> digest;
  if (s.record.Wanted()) digest.emplace(text);
  const std::vector<std::string> records = FindObjectRecords(text, SlotLabels(s.spec));
  if (digest) s.record.NoteInput(s.state.OspName, input_role::kObjectStore, digest->Get());
  // Slot by slot, so the first failing slot ends the run with the earlier ones set.
  for (int i = 1; i <= s.spec.SpecCount; ++i) {
    SpecSlot& slot = s.spec.At(i);  // Error 9 past slot 20, as always
    CheckSlot(s, slot, records[i - 1]);
  }
}

std::string FindObjectRecord(std::string_view text, const std::string& label) {
  const std::string key = "=Kgs:Name=" + label + ":";
  std::string result;
  std::size_t start = 0;
  for (;;) {
    const std::size_t found = text.find(key, start);
    if (found == std::string_view::npos) return result;
    const std::size_t after = found + key.size();
    const std::size_t lineEnd =
        found == 0 ? std::string_view::npos : text.find_last_of("\r\n", found - 1);
    const std::size_t lineStart = lineEnd == std::string_view::npos ? 0 : lineEnd + 1;
    const std::size_t semicolon = text.find(';', after);
    if (semicolon == std::string_view::npos) return result;
    result = std::string(text.substr(lineStart, semicolon - lineStart + 1));
    if (text.substr(lineStart, 4) == ":OId") return result;
    start = after;
  }
}

std::string GetRecordAttribute(std::string_view record, const std::string& key) {
  const std::size_t found = record.find(key);
  if (found == std::string_view::npos) {
    throw Error(kErrInvalidArgument, "Attribut " + key + " fehlt im Eintrag");
  }
  const std::string_view rest = record.substr(found + key.size());
  const std::size_t colon = rest.find(':');
  if (colon == std::string_view::npos) {
    throw Error(kErrInvalidArgument, "Attribut " + key + " ist nicht mit \":\" abgeschlossen: >" +
                                         std::string(rest) + "<");
  }
  return std::string(rest.substr(0, colon));
}

}  // namespace quenda
