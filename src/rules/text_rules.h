// The rule functions that only work on their (already expanded) argument text. Each
// throws an Error naming the function and the argument when the argument does not fit;
// EvaluateRuleFunction passes it on as error 60000.
#pragma once

#include <string>
#include <string_view>

namespace quenda {

// "ADDS": the parts between "+" joined; a part with an apostrophe gives its text between
// the first and the second apostrophe (to its end without a second), any other part
// itself without blanks (spaces, tabs) at both ends.
std::string RuleAdds(std::string_view argument);

// "DIV": "a/b" as a quotient in the regional format; empty when a is empty. Throws Error
// 13 for a part that is no number, 11 for a division by zero, 6 for an overflow.
std::string RuleDiv(std::string_view argument, std::string_view decimalSeparator);

// "CEXT": "name.abc.xyz" gives "name.xyz"; blanks only give the empty text. Throws Error
// 5 for an argument shorter than 3 characters, or (not blank) shorter than 7.
std::string RuleCext(std::string_view argument);

// "NEXT": the text before the last "."; the whole text when there is none.
std::string RuleNext(std::string_view argument);

// "STR-1", "LASTC", "LAST2C": all but the last character, the last, the last two. Throw
// Error 5 when the argument is too short.
std::string RuleStrMinus1(std::string_view argument);
std::string RuleLastC(std::string_view argument);
std::string RuleLast2C(std::string_view argument);

// "PATH", "FILE": the folder (without the last backslash) and the file name of a path;
// empty for a blank argument. Throw Error 5 for a path without a backslash.
std::string RulePath(std::string_view argument);
std::string RuleFile(std::string_view argument);

// "KV1": every "*" replaced by a blank.
std::string RuleKv1(std::string_view argument);

// Splits `path` at its last backslash: `file` receives what follows it, `path` keeps the
// folder with its last backslash. Throws Error 5 naming the path when it has none.
void SplitPathFile(std::string& path, std::string& file);

// The text between the first and the second double quote when `value` is not empty and
// both begins and ends with one; otherwise `value` unchanged.
std::string UnquoteValue(const std::string& value);

}  // namespace quenda
