// The rules that compute a parameter's value from the job: the keywords "none" and
// "fntuser", and the rule functions "NAME=argument" whose argument may hold placeholders
// "{query}" filled from the job document. Errors raised while a rule is evaluated leave
// as Error 60000 with the underlying description; the user-facing aborts end the run
// through TerminateRun (RunEnded).
#pragma once

#include <string>

#include "rules/placeholders.h"

namespace quenda {

class DOMWrapper;
class RecordSet;
class Session;

// A function of the dispatch table: its name and, for the functions that take an
// argument list "{a,b,...}" (XXX, INP, INPV, GET), how many arguments they read; 0 for
// the functions that take the expanded argument, kNoRuleArgument for USER.
constexpr int kNoRuleArgument = -1;
struct RuleFunctionInfo {
  const char* name;
  int listArguments;
};

// The function name of `ruleText` as the dispatch reads it: the text before the first
// "=" (the whole text without one), upper-cased, not trimmed.
std::string RuleFunctionName(const std::string& ruleText);

// The function of the dispatch table called `name`; nullptr when there is none.
const RuleFunctionInfo* FindRuleFunction(const std::string& name);

// The message with which the run ends for the unknown function `name`.
std::string UnknownRuleFunctionMessage(const std::string& name);

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
// ApplyParameterRule; an inserted value is scanned again (ScanPlaceholders). Raises
// 60000 naming the rule for a "}" without "{" before it and for more than
// kMaxPlaceholderExpansions expansions.
std::string ExpandFieldPlaceholders(DOMWrapper& doc, const std::string& ruleText, bool optional);

// The value of the first stored parameter named `name` (rows 0 to the row counter), or "".
std::string GetParameterValue(const Session& session, const std::string& name);

// The logon name of the user, or "" when it cannot be found out.
std::string GetLogonUser(Session& session);

}  // namespace quenda
