// The rules that compute a parameter's value from the job: the keywords "none" and
// "fntuser", and the rule functions "NAME=argument" whose argument may hold placeholders
// "{query}" filled from the job document. Errors raised while a rule is evaluated leave
// as Error 60000 with the underlying description; the user-facing aborts end the run
// through TerminateRun (RunEnded).
#pragma once

#include <string>

namespace quenda {

class DOMWrapper;
class RecordSet;
class Session;

// Placeholder expansions allowed for one rule; more mean a value that contains itself.
constexpr int kMaxPlaceholderExpansions = 100;

// The value of the parameter row `row` (columns "Rule" and "XML_Optional"): "" for
// "none", the logon name for "fntuser", otherwise the rule function's value, reduced to
// the text between its first two double quotes when it begins and ends with one. The rule
// "UNC" has nothing to work on and raises 60000 naming it.
std::string ApplyParameterRule(Session& session, DOMWrapper& doc, const RecordSet& row);

// The value of the rule function `ruleText` (upper-cased name before the first "=").
// Functions are tried in the order ADDS, DIV, CEXT, NEXT, STR-1, LASTC, LAST2C, USER,
// PATH, FILE, KV1, XXX, INP, INPV, GET; an unknown name ends the run with "Funktion = "
// + name + " nicht bekannt". Raises 60000 with the underlying description on any error.
std::string EvaluateRuleFunction(Session& session, DOMWrapper& doc, const std::string& ruleText,
                                 bool optional);

// The argument of `ruleText` (after the first "=", the whole text without one) with every
// "{query}" replaced by GetElementValue(query without blanks, optional), unquoted as in
// ApplyParameterRule; an inserted value is scanned again. Raises 60000 naming the rule
// for a "}" without "{" before it and for more than kMaxPlaceholderExpansions expansions.
std::string ExpandFieldPlaceholders(DOMWrapper& doc, const std::string& ruleText, bool optional);

// The value of the first stored parameter named `name` (rows 0 to the row counter), or "".
std::string GetParameterValue(const Session& session, const std::string& name);

// The logon name of the user, or "" when it cannot be found out.
std::string GetLogonUser(Session& session);

}  // namespace quenda
