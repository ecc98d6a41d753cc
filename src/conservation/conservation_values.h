// The values of a conservation file read back from its blocks (see conservation_block.h),
// and what differs between two such files label by label: a comment or a blank line that
// changed is no change of a value.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quenda {

struct ConservationValue {
  std::string label;
  std::string kind;   // "KTX", "KWB", "FKL"
  std::string value;  // a text as written between its apostrophes; numbers joined by blanks
};

// The blocks of the conservation file `text` in their order. Lines outside a block (comments
// with "*", blank lines) are passed over; a block without its END ends at the text's end.
std::vector<ConservationValue> ReadConservationValues(const std::string& text);

struct ValueChange {
  std::string label;
  std::string kind;
  std::optional<std::string> before;  // none: the label is new
  std::optional<std::string> after;   // none: the label is gone
};

// Every label whose value differs between `before` and `after`, in the order of `after`,
// then the labels `after` no longer has, in the order of `before`.
std::vector<ValueChange> CompareConservationValues(const std::vector<ConservationValue>& before,
                                                   const std::vector<ConservationValue>& after);

}  // namespace quenda
