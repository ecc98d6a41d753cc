// Value expressions of a slot's dummy ("ERG=" + expression): parts joined by "+", each
// either literal text or a reference WERT(slot[range]) to a piece of another slot's value.
#pragma once

#include <string>

namespace quenda {

class Session;

// The value of `expression` from the Value fields of session.spec. At most eleven parts
// are read; a later part is ignored. A part whose text before its first "(" is exactly
// "WERT" takes from slot n's value: with range "X" or "x" all of it, with a number k its
// first k characters, with a list "p1,p2,..." the characters at those positions (from 1;
// a position past the end gives nothing). Every other part is taken as it stands, blanks
// included. A reference without "[", with a slot outside 0..20, a range that is neither
// "X" nor a number, or a list position that is 0 or no number ends the run through
// ErrorEnd with a message naming `label`, the expression and the part.
std::string EvaluateValueExpression(Session& session, const std::string& expression,
                                    const std::string& label);

}  // namespace quenda
