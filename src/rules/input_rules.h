// The rule functions that ask the user or read list files: "XXX" (security mask, with
// the write-back of the customer plant index into the job file), "INP", "INPV", "GET",
// and the list lookup SelectListLine with its "Kontrolle" box. Their arguments are the
// text between the first "{" and the first "}" of the rule, cut at ",", unexpanded.
#pragma once

#include <optional>
#include <string>

#include "base/error.h"

namespace quenda {

class Session;

// The argument list of `ruleText`: the text between its first "{" and the first "}"
// after it; nullopt when there is no such pair.
std::optional<std::string> FindRuleArgumentList(const std::string& ruleText);

// The argument list of `ruleText`. Throws Error 5 naming the rule when it has no "{"
// followed by a "}".
std::string RuleArgumentList(const std::string& ruleText);

// Argument `index` of `list` (cut at ","); "," when there is none.
std::string RuleArgument(const std::string& list, int index);

// How many arguments `list` holds: the first index for which RuleArgument gives ",".
int RuleArgumentCount(const std::string& list);

// Why RuleInt16 would raise for `text`: Error 13 naming the text when it is no number,
// 6 outside -32768..32767; nullopt when it is a 16-bit number.
std::optional<Error> RuleInt16Problem(const std::string& text, const std::string& decimalSeparator);

// `text` as a 16-bit whole number (banker's rounding, regional decimal separator).
// Throws the error of RuleInt16Problem.
int RuleInt16(const std::string& text, const std::string& decimalSeparator);

// The first line of `listFile` whose field `keyField` (cut at `delimiter`) equals `key`,
// confirmed by the user in the "Kontrolle" box, trimmed; "0" when no line matches (no
// box then). Cancel ends the run. Throws the file error (53) for a missing file.
std::string SelectListLine(Session& session, const std::string& listFile, const std::string& key,
                           int keyField, const std::string& delimiter);

// "XXX={prompt,listFile,keyField}": asks for a key, looks its line up and returns
// EncodeMask of field 1; field 3 becomes the customer plant index, written into the job
// file's FromFlow and ToFlow envelopes. No line ends the run.
std::string RuleSecurityMask(Session& session, const std::string& ruleText);

// "INP={prompt}": asks until the user confirms the input; Cancel ends the run.
std::string RuleInput(Session& session, const std::string& ruleText);

// "INPV={prompt}": one input, returned masked.
std::string RuleInputMasked(Session& session, const std::string& ruleText);

// "GET={listFile,parameterName,resultField}": field resultField of the list line whose
// field 0 is the value of the parameter parameterName. No line ends the run with "Kein
// Wert für "key" bekannt!!".
std::string RuleListValue(Session& session, const std::string& ruleText);

}  // namespace quenda
