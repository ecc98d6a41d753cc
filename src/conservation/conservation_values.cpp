#include "conservation/conservation_values.h"

#include <algorithm>
#include <sstream>

#include "platform/files.h"

namespace quenda {
namespace {

// The kind a block's first word opens; empty for a line that opens none.
std::string KindOf(const std::string& word) {
  if (word == "TEXTSTRING") return "KTX";
  if (word == "FESTWERTEBLOCK") return "KWB";
  if (word == "FESTKENNLINIE") return "FKL";
  return {};
}

// Adds the value of one line inside a block: the text between the first and the last
// apostrophe of a TEXT line, the numbers of a WERT line.
void AddValueLine(ConservationValue& block, const std::string& line) {
  std::istringstream words(line);
  std::string head;
  words >> head;
  if (head == "TEXT") {
    const std::size_t first = line.find('\'');
    const std::size_t last = line.rfind('\'');
    if (first != std::string::npos && last > first)
      block.value = line.substr(first + 1, last - first - 1);
    return;
  }
  if (head != "WERT") return;
  for (std::string number; words >> number;) {
    if (!block.value.empty()) block.value += ' ';
    block.value += number;
  }
}

const ConservationValue* Find(const std::vector<ConservationValue>& values,
                              const std::string& label) {
  const auto it = std::ranges::find(values, label, &ConservationValue::label);
  return it != values.end() ? &*it : nullptr;
}

}  // namespace

std::vector<ConservationValue> ReadConservationValues(const std::string& text) {
  std::vector<ConservationValue> values;
  bool inBlock = false;
  for (const std::string& line : SplitTextLines(text)) {
    std::istringstream words(line);
    std::string first;
    std::string label;
    words >> first >> label;
    if (!inBlock) {
      const std::string kind = KindOf(first);
      if (kind.empty() || label.empty()) continue;
      values.push_back({label, kind, {}});
      inBlock = true;
    } else if (first == "END") {
      inBlock = false;
    } else {
      AddValueLine(values.back(), line);
    }
  }
  return values;
}

std::vector<ValueChange> CompareConservationValues(const std::vector<ConservationValue>& before,
                                                   const std::vector<ConservationValue>& after) {
  std::vector<ValueChange> changes;
  for (const ConservationValue& now : after) {
    const ConservationValue* was = Find(before, now.label);
    if (was != nullptr && was->value == now.value) continue;
    changes.push_back({now.label, now.kind,
                       was != nullptr ? std::optional(was->value) : std::nullopt, now.value});
  }
  for (const ConservationValue& was : before) {
    if (Find(after, was.label) == nullptr) {
      changes.push_back({was.label, was.kind, was.value, std::nullopt});
    }
  }
  return changes;
}

}  // namespace quenda
