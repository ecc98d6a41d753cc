// The placeholder scanner of the rule arguments: "{query}" inside an argument is replaced
// by a value of the job document, and the text is scanned again from its beginning after
// every replacement, so braces inside an inserted value are placeholders too.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "base/error.h"

namespace quenda {

// Placeholder expansions allowed for one rule; more mean a value that contains itself.
constexpr int kMaxPlaceholderExpansions = 100;

// The value of one placeholder: `query` is the text between the braces with all spaces
// and tabs removed.
using PlaceholderLookup = std::function<std::string(const std::string& query)>;

// The argument of `ruleText`: the text after the first "=", the whole text without one.
std::string RuleArgumentText(const std::string& ruleText);

// The argument of `ruleText` with every "{query}" replaced by lookup(query), each value
// reduced to the text between its first two double quotes when it begins and ends with
// one. A "{"
// with no "}" after it stays as text. For a "}" without "{" before it, or more than
// kMaxPlaceholderExpansions expansions, `problem` receives Error 60000 naming the rule and
// the text scanned so far is returned. Errors of `lookup` pass through.
std::string ScanPlaceholders(const std::string& ruleText, const PlaceholderLookup& lookup,
                             std::optional<Error>& problem);

}  // namespace quenda
