// Value expressions of a slot's dummy ("ERG=" + expression): parts joined by "+", each
// either literal text or a reference WERT(slot[range]) to a piece of another slot's value.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace quenda {

class Session;

// True when the slot dummy `dummy` holds a value expression: not "-" and its text before
// the first "=" is "ERG".
bool IsValueExpressionDummy(const std::string& dummy);

// The expression of such a dummy: its text between the first and the second "=".
std::string ValueExpressionOfDummy(const std::string& dummy);

// The value of slot `slot` (0..20) that a reference takes its piece from.
using SlotValueSource = std::function<std::string(int slot)>;

// Why a reference of an expression cannot be evaluated: the part and the reason.
struct ValueExpressionProblem {
  std::string part;
  std::string why;
};

// The value of `expression` with the slot values of `slotValue`. At most eleven parts are
// read; a later part is ignored. A part whose text before its first "(" is exactly "WERT"
// takes from slot n's value: with range "X" or "x" all of it, with a number k its first k
// characters, with a list "p1,p2,..." the characters at those positions (from 1; a
// position past the end gives nothing). Every other part is taken as it stands, blanks
// included. A reference without "[", with a slot outside 0..20, a range that is neither
// "X" nor a number, or a list position that is 0 or no number gives nullopt and
// `problem` for the first such part.
std::optional<std::string> ComputeValueExpression(const std::string& expression,
                                                  const SlotValueSource& slotValue,
                                                  ValueExpressionProblem& problem);

// ComputeValueExpression on the Value fields of session.spec; a part that cannot be
// evaluated ends the run through ErrorEnd with a message naming `label`, the expression
// and the part.
std::string EvaluateValueExpression(Session& session, const std::string& expression,
                                    const std::string& label);

}  // namespace quenda
