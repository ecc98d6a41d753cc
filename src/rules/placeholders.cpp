#include "rules/placeholders.h"

#include "rules/text_rules.h"
#include "text/cp1252.h"
#include "text/tokens.h"

namespace quenda {
namespace {

// Replaces the first placeholder of `text`; false for a "}" without "{" before it.
bool ExpandFirst(std::string& text, const PlaceholderLookup& lookup) {
  const std::size_t open = text.find('{');
  const std::size_t close = text.find('}');
  if (open == std::string::npos || open > close) return false;
  std::string query = text.substr(open + 1, close - open - 1);
  std::string options = "COLLAPSE";
  NormalizeText(query, options);
  text = text.substr(0, open) + UnquoteValue(lookup(query)) + text.substr(close + 1);
  return true;
}

}  // namespace

std::string RuleArgumentText(const std::string& ruleText) {
  const std::size_t equals = ruleText.find('=');
  return equals == std::string::npos ? ruleText : ruleText.substr(equals + 1);
}

std::string ScanPlaceholders(const std::string& ruleText, const PlaceholderLookup& lookup,
                             std::optional<Error>& problem) {
  std::string text = RuleArgumentText(ruleText);
  for (int expansions = 0; text.find('}') != std::string::npos; ++expansions) {
    if (expansions == kMaxPlaceholderExpansions) {
      problem = Error(kErrComposed, "Mehr als " + std::to_string(kMaxPlaceholderExpansions) +
                                        " Platzhalter-Ersetzungen in der Regel >" + ruleText +
                                        "< (ein Feldwert enthält sich selbst?)"_cp);
      return text;
    }
    if (!ExpandFirst(text, lookup)) {
      problem = Error(kErrComposed,
                      "Platzhalter mit \"}\" ohne \"{\" davor in der Regel >" + ruleText + "<");
      return text;
    }
  }
  return text;
}

}  // namespace quenda
