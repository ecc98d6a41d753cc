// The values a release conserves, worked out again from the report: each slot's value
// taken from its parameter, computed from its expression, and prepared for its block
// (cut, padded, re-coded), as the conservation files must carry them.
#pragma once

#include <string>
#include <vector>

namespace quenda::audit {

struct SlotSource {
  int slot = 0;
  std::string label, kind, format, length, dummy;  // CP1252, as the report lists them
  std::string raw;  // the value of the slot's parameter (its table row's Array_Nr)
};

// The value of slot `s` prepared for its block: "HEX" unchanged; "LNI" each of the first
// L characters as "0" and the character; any other format cut to L characters, and padded
// with blanks to L unless the kind is FKL (L the integer part of `length`, 0 when it is
// no number). The format is compared in upper case.
std::string PrepareSlotValue(const SlotSource& s, const std::string& value);

// The value of an expression "WERT(n[k])+text+WERT(n[i,j])..." (the text between the
// first and the second "=" of a dummy "ERG=..."): at most eleven parts joined; WERT(n[X])
// the whole value of slot n in `values` (index = slot number), WERT(n[k]) its first k
// characters, WERT(n[i,j,...]) the characters at those positions (from 1; one beyond the
// end adds nothing); any other part literally. A reference to a slot outside `values` or
// a range that is no number gives nothing for that part.
std::string EvaluateSlotExpression(const std::string& expression,
                                   const std::vector<std::string>& values);

// The values of the actual file for slots 0 to 20 (index = slot number): in ascending slot
// order each slot's raw value, or its expression's value over the values so far (the
// prepared values below it, the raw values above), then prepared. Slots without a source
// stay empty; a slot without kind and length (the run read no object store) keeps its raw
// value.
std::vector<std::string> ActualSlotValues(const std::vector<SlotSource>& slots);

// The value of the dummy file for `s` whose actual value is `actual`: a dummy other than
// "-" and "ERG=..." replaces it; the result is prepared once more.
std::string DummySlotValue(const SlotSource& s, const std::string& actual);

}  // namespace quenda::audit
