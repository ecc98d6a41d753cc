#include "conservation/value_expression.h"

#include "session/session.h"
#include "session/spec_table.h"
#include "session/termination.h"
#include "text/cp1252.h"
#include "text/tokens.h"

namespace quenda {
namespace {

constexpr int kMaxParts = 11;

// Leaves the evaluation of one part; caught in ComputeValueExpression.
struct PartFailure {
  std::string why;
};

[[noreturn]] void Fail(const std::string& why) { throw PartFailure{why}; }

std::string Positions(const std::string& source, const std::string& list) {
  std::string piece;
  for (int k = 0;; ++k) {
    const std::string field = GetToken(list, k, ",");
    if (field == ",") break;
    const std::optional<int> position = WholeNumber(field);
    if (!position || *position < 1) Fail("hat die ungültige Position >"_cp + field + "<");
    if (static_cast<std::size_t>(*position) <= source.size()) piece += source[*position - 1];
  }
  return piece;
}

std::string Piece(const std::string& part, const SlotValueSource& slotValue) {
  if (part.find('[') == std::string::npos) Fail("hat kein \"[\"");
  const std::string slotText = GetToken(GetToken(part, 0, "["), 1, "(");
  const std::optional<int> slot = WholeNumber(slotText);
  if (!slot || *slot < 0 || *slot >= SpecTable::kSlots) {
    Fail("nennt den Slot >" + slotText + "<, erlaubt sind 0 bis 20");
  }
  const std::string range = GetToken(GetToken(part, 0, "]"), 1, "[");
  const std::string source = slotValue(*slot);
  if (range.find(',') != std::string::npos) return Positions(source, range);
  if (UpperCase(range) == "X") return source;
  const std::optional<int> count = WholeNumber(range);
  if (!count || *count < 0) Fail("hat den ungültigen Bereich >"_cp + range + "<");
  return source.substr(0, static_cast<std::size_t>(*count));
}

}  // namespace

bool IsValueExpressionDummy(const std::string& dummy) {
  return dummy != "-" && GetToken(dummy, 0, "=") == "ERG";
}

std::string ValueExpressionOfDummy(const std::string& dummy) { return GetToken(dummy, 1, "="); }

std::optional<std::string> ComputeValueExpression(const std::string& expression,
                                                  const SlotValueSource& slotValue,
                                                  ValueExpressionProblem& problem) {
  std::string result;
  for (int k = 0; k < kMaxParts; ++k) {
    const std::string part = GetToken(expression, k, "+");
    if (part == "+") break;
    if (GetToken(part, 0, "(") != "WERT") {
      result += part;
      continue;
    }
    try {
      result += Piece(part, slotValue);
    } catch (const PartFailure& failure) {
      problem = {part, failure.why};
      return std::nullopt;
    }
  }
  return result;
}

std::string EvaluateValueExpression(Session& s, const std::string& expression,
                                    const std::string& label) {
  ValueExpressionProblem problem;
  const std::optional<std::string> value = ComputeValueExpression(
      expression, [&s](int slot) { return s.spec.At(slot).Value; }, problem);
  if (!value) {
    ErrorEnd(s,
             "Ausdruck >" + expression + "< von " + label + ": Verweis >" + problem.part + "< " +
                 problem.why,
             EndStyle::Box(48), "Abbruch");
  }
  return *value;
}

}  // namespace quenda
