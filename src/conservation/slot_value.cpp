#include "conservation/slot_value.h"

#include "conservation/conservation_block.h"
#include "conservation/value_expression.h"
#include "session/session.h"
#include "session/termination.h"
#include "text/cp1252.h"
#include "text/tokens.h"

namespace quenda {
namespace {

[[noreturn]] void SlotError(Session& s, const ConservationFile& f, int index,
                            const std::string& why) {
  ErrorEnd(s,
           "Konservierungsdatei " + f.path + ", Slot " + std::to_string(index) + " (" +
               s.spec.At(index).Label + "): " + why,
           EndStyle::Box(48), "Abbruch");
}

int DefinedLength(Session& s, const ConservationFile& f, int index) {
  const std::string& text = s.spec.At(index).Length;
  const std::optional<int> length = WholeNumber(text);
  if (!length || *length < 0) SlotError(s, f, index, "Länge >"_cp + text + "< ist keine Zahl");
  return *length;
}

std::string StartValue(Session& s, const SpecSlot& slot, ConservationPass pass) {
  if (pass == ConservationPass::kActual) {
    if (!IsValueExpressionDummy(slot.Dummy)) return slot.Value;
    return EvaluateValueExpression(s, ValueExpressionOfDummy(slot.Dummy), slot.Label);
  }
  if (slot.Dummy != "-" && !IsValueExpressionDummy(slot.Dummy)) return slot.Dummy;
  return slot.Value;
}

std::string Lni(const std::string& value, int length) {
  std::string coded;
  for (int k = 0; k < length; ++k) {
    coded += '0';
    if (static_cast<std::size_t>(k) < value.size()) coded += value[k];
  }
  return coded;
}

// The value by format, and the blanks that would fill it up to `length`.
std::string Fit(Session& s, const std::string& label, std::string& value, const std::string& fmt,
                int length) {
  if (fmt == "HEX") return {};
  if (fmt == "LNI") {
    value = Lni(value, length);
    return {};
  }
  const std::size_t limit = static_cast<std::size_t>(length);
  if (value.size() <= limit) return std::string(limit - value.size(), ' ');
  s.ui.MsgBox("Der Wert für "_cp + label + " = " + value + "\r\nist im DAMOS-OSP nur mit " +
                  std::to_string(length) + " definiert!\r\n\r\n" + label +
                  " wird in der weiteren Bearbeitung auf diese Länge gekürzt!"_cp,
              0, "Fehler");
  value.resize(limit);
  return {};
}

std::string IdentificationValue(Session& s, const ConservationFile& f, int index, bool withHexName,
                                const std::string& hexName) {
  const SpecSlot& slot = s.spec.At(index);
  const std::optional<int> slotNo = WholeNumber(slot.SlotNo);
  if (!slotNo || *slotNo < 0 || *slotNo >= SpecTable::kSlots) {
    SlotError(s, f, index, "Slotnummer >" + slot.SlotNo + "< liegt nicht zwischen 0 und 20");
  }
  const std::string& ident = s.spec.IdentValue[static_cast<std::size_t>(*slotNo)];
  if (withHexName && index == 2) return s.spec.HexBaseName + hexName;
  if (withHexName && index == 3) return "X" + (ident.size() > 1 ? ident.substr(1, 3) : "");
  return ident;
}

}  // namespace

void WriteSlotBlock(Session& s, ConservationFile& f, int index, ConservationPass pass) {
  SpecSlot& slot = s.spec.At(index);
  RequireKnownKind(s, slot.Kind);
  const int length = DefinedLength(s, f, index);
  std::string value = StartValue(s, slot, pass);
  const std::string fmt = Normalized(slot.Format, "UCASE");
  const std::string pad = Fit(s, slot.Label, value, fmt, length);
  if (slot.Kind != "FKL") value += pad;
  if (pass == ConservationPass::kActual) slot.Value = value;
  WriteConservationBlock(s, f, slot.Label, value, slot.Kind, fmt);
}

void WriteIdentificationBlock(Session& s, ConservationFile& f, int index, bool withHexName,
                              const std::string& hexName) {
  const SpecSlot& slot = s.spec.At(index);
  if (slot.Label.empty()) {
    ErrorEnd(s,
             "Konservierungsdatei " + f.path + ": Slot " + std::to_string(index) +
                 " ist nicht belegt, der Identifikationsblock kann nicht geschrieben werden",
             EndStyle::Box(48), "Abbruch");
  }
  RequireKnownKind(s, slot.Kind);
  const std::size_t length = static_cast<std::size_t>(DefinedLength(s, f, index));
  std::string value = IdentificationValue(s, f, index, withHexName, hexName);
  value.resize(length, ' ');  // a longer value is cut like an actual value
  WriteConservationBlock(s, f, slot.Label, value, slot.Kind, slot.Format);
}

}  // namespace quenda
