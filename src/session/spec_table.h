// The conservation slots: which calibration objects a release conserves, under which
// label, in which format and with which dummy. The parameter table fills them when the
// main window loads; the object store adds each object's kind and length.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/error.h"

namespace quenda {

class ParamTable;

// One slot; every field is text, an unset field is empty.
struct SpecSlot {
  std::string Label;   // object name in the object store
  std::string Kind;    // "KTX", "KWB" or "FKL", set by LoadObjectStore
  std::string SlotNo;  // the slot's number as the parameter table writes it
  std::string Format;  // "HEX", "LNI", "STR" or anything else (plain text)
  std::string Length;  // defined length, decimal text, set by LoadObjectStore
  std::string Dummy;   // "-", a literal dummy, or "ERG=" + value expression
  std::string Value;   // the value to conserve
};

struct SpecTable {
  static constexpr int kSlots = 21;  // slot 0 exists but is not used

  std::array<SpecSlot, kSlots> Slots;
  // Identification values of the variant files, indexed by a slot's SlotNo. Nothing in
  // the system assigns them, so they stay empty.
  std::array<std::string, kSlots> IdentValue;
  // The hex base name of the identification blocks; likewise never assigned.
  std::string HexBaseName;
  std::int16_t SpecCount = 0;  // the highest slot number defined

  // Slot `index`; throws Error 9 naming the index outside 0..20.
  SpecSlot& At(int index);
  const SpecSlot& At(int index) const;
};

// The whole number in `text` (blanks around it allowed, an optional sign); nullopt for
// anything else, also for more than nine digits.
std::optional<int> WholeNumber(std::string_view text);

// The slot number that the Array_Nr text `arrayNr` of the parameter `name` gives. For
// one that is no number (Error 13) or lies outside 0..20 (Error 9) `problem` receives the
// error naming both, and the result is nullopt.
std::optional<int> ReadSlotNumber(const std::string& arrayNr, const std::string& name,
                                  std::optional<Error>& problem);

// Fills `spec` from rows 0..rowCount of `params`: every row with an Array_Nr n sets slot
// n's Label, SlotNo, Format, Value and Dummy ("-" for an empty Dummy column), a later row
// overwriting an earlier one; SpecCount becomes the highest slot number (0 without any).
// Throws the error of ReadSlotNumber; slots of earlier rows stay filled.
void FillSpecTable(SpecTable& spec, const ParamTable& params, int rowCount);

}  // namespace quenda
