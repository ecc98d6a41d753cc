#include "session/spec_table.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "base/error.h"
#include "session/param_table.h"

namespace quenda {

SpecSlot& SpecTable::At(int index) { return const_cast<SpecSlot&>(std::as_const(*this).At(index)); }

const SpecSlot& SpecTable::At(int index) const {
  if (index < 0 || index >= kSlots) {
    throw PlatformError(kErrSubscript, "Konservierungsslot " + std::to_string(index));
  }
  return Slots[static_cast<std::size_t>(index)];
}

std::optional<int> WholeNumber(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return std::nullopt;
  text = text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const std::size_t digits = text.size() - (text.starts_with('-') ? 1 : 0);
  if (digits == 0 || digits > 9) return std::nullopt;
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<int> ReadSlotNumber(const std::string& arrayNr, const std::string& name,
                                  std::optional<Error>& problem) {
  const std::optional<int> n = WholeNumber(arrayNr);
  if (!n) {
    problem = Error(kErrTypeMismatch,
                    "Array_Nr >" + arrayNr + "< des Parameters " + name + " ist keine Zahl");
  } else if (*n < 0 || *n >= SpecTable::kSlots) {
    problem = Error(kErrSubscript, "Array_Nr " + arrayNr + " des Parameters " + name +
                                       " liegt nicht zwischen 0 und 20");
  }
  return problem ? std::nullopt : n;
}

void FillSpecTable(SpecTable& spec, const ParamTable& params, int rowCount) {
  spec.SpecCount = 0;
  const int last = std::min(rowCount, ParamTable::kRows - 1);
  for (int row = 0; row <= last; ++row) {
    const std::string& arrayNr = params.At(row, ParamTable::kArrayNr);
    if (arrayNr.empty()) continue;
    const std::string& name = params.At(row, ParamTable::kName);
    std::optional<Error> problem;
    const std::optional<int> n = ReadSlotNumber(arrayNr, name, problem);
    if (!n) throw *problem;
    SpecSlot& slot = spec.At(*n);
    slot.Label = params.At(row, ParamTable::kLabel);
    slot.SlotNo = arrayNr;
    slot.Format = params.At(row, ParamTable::kFormat);
    slot.Value = params.At(row, ParamTable::kValue);
    const std::string& dummy = params.At(row, ParamTable::kDummy);
    slot.Dummy = dummy.empty() ? "-" : dummy;
    spec.SpecCount = static_cast<std::int16_t>(std::max<int>(spec.SpecCount, *n));
  }
}

}  // namespace quenda
