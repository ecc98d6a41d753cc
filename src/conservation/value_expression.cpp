#include "conservation/value_expression.h"

#include <optional>

#include "app/session.h"
#include "app/termination.h"
#include "conservation/spec_table.h"
#include "text/cp1252.h"
#include "text/tokens.h"

namespace quenda {
namespace {

constexpr int kMaxParts = 11;

struct Reference {
  Session& s;
  const std::string& expression;
  const std::string& label;
  const std::string& part;

  [[noreturn]] void Fail(const std::string& why) const {
    ErrorEnd(s, "Ausdruck >" + expression + "< von " + label + ": Verweis >" + part + "< " + why,
             "48", "Abbruch");
  }
};

std::string Positions(const Reference& ref, const std::string& source, const std::string& list) {
  std::string piece;
  for (int k = 0;; ++k) {
    const std::string field = GetToken(list, k, ",");
    if (field == ",") break;
    const std::optional<int> position = WholeNumber(field);
    if (!position || *position < 1) {
      ref.Fail("hat die ungültige Position >"_cp + field + "<");
    }
    if (static_cast<std::size_t>(*position) <= source.size()) piece += source[*position - 1];
  }
  return piece;
}

std::string Piece(const Reference& ref) {
  const std::string& part = ref.part;
  if (part.find('[') == std::string::npos) ref.Fail("hat kein \"[\"");
  const std::string slotText = GetToken(GetToken(part, 0, "["), 1, "(");
  const std::optional<int> slot = WholeNumber(slotText);
  if (!slot || *slot < 0 || *slot >= SpecTable::kSlots) {
    ref.Fail("nennt den Slot >" + slotText + "<, erlaubt sind 0 bis 20");
  }
  const std::string range = GetToken(GetToken(part, 0, "]"), 1, "[");
  const std::string& source = ref.s.spec.At(*slot).Value;
  if (range.find(',') != std::string::npos) return Positions(ref, source, range);
  if (UpperCase(range) == "X") return source;
  const std::optional<int> count = WholeNumber(range);
  if (!count || *count < 0) ref.Fail("hat den ungültigen Bereich >"_cp + range + "<");
  return source.substr(0, static_cast<std::size_t>(*count));
}

}  // namespace

std::string EvaluateValueExpression(Session& s, const std::string& expression,
                                    const std::string& label) {
  std::string result;
  for (int k = 0; k < kMaxParts; ++k) {
    const std::string part = GetToken(expression, k, "+");
    if (part == "+") break;
    if (GetToken(part, 0, "(") == "WERT") {
      result += Piece(Reference{s, expression, label, part});
    } else {
      result += part;
    }
  }
  return result;
}

}  // namespace quenda
