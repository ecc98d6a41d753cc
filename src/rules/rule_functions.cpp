#include "rules/rule_functions.h"

#include <array>
#include <functional>

#include "app/session.h"
#include "app/termination.h"
#include "base/error.h"
#include "config/record_set.h"
#include "rules/input_rules.h"
#include "rules/text_rules.h"
#include "text/cp1252.h"
#include "text/tokens.h"
#include "xml/dom_wrapper.h"

namespace quenda {
namespace {

struct RuleCall {
  Session& session;
  DOMWrapper& doc;
  const std::string& ruleText;
  bool optional;

  std::string Argument() const { return ExpandFieldPlaceholders(doc, ruleText, optional); }
  const std::string& Sep() const { return session.site.DecimalSeparator; }
};

using RuleFunction = std::function<std::string(const RuleCall&)>;

struct NamedRule {
  const char* name;
  RuleFunction run;
};

// The functions in the order they are tried.
const std::array<NamedRule, 15>& RuleTable() {
  static const std::array<NamedRule, 15> table = {{
      {"ADDS", [](const RuleCall& c) { return RuleAdds(c.Argument()); }},
      {"DIV", [](const RuleCall& c) { return RuleDiv(c.Argument(), c.Sep()); }},
      {"CEXT", [](const RuleCall& c) { return RuleCext(c.Argument()); }},
      {"NEXT", [](const RuleCall& c) { return RuleNext(c.Argument()); }},
      {"STR-1", [](const RuleCall& c) { return RuleStrMinus1(c.Argument()); }},
      {"LASTC", [](const RuleCall& c) { return RuleLastC(c.Argument()); }},
      {"LAST2C", [](const RuleCall& c) { return RuleLast2C(c.Argument()); }},
      {"USER", [](const RuleCall& c) { return c.session.system.GetEnv("USERNAME"); }},
      {"PATH", [](const RuleCall& c) { return RulePath(c.Argument()); }},
      {"FILE", [](const RuleCall& c) { return RuleFile(c.Argument()); }},
      {"KV1", [](const RuleCall& c) { return RuleKv1(c.Argument()); }},
      {"XXX", [](const RuleCall& c) { return RuleSecurityMask(c.session, c.ruleText); }},
      {"INP", [](const RuleCall& c) { return RuleInput(c.session, c.ruleText); }},
      {"INPV", [](const RuleCall& c) { return RuleInputMasked(c.session, c.ruleText); }},
      {"GET", [](const RuleCall& c) { return RuleListValue(c.session, c.ruleText); }},
  }};
  return table;
}

std::string ArgumentText(const std::string& ruleText) {
  const std::size_t equals = ruleText.find('=');
  return equals == std::string::npos ? ruleText : ruleText.substr(equals + 1);
}

// Replaces the first placeholder of `text`.
std::string ExpandFirst(DOMWrapper& doc, const std::string& text, const std::string& ruleText,
                        bool optional) {
  const std::size_t open = text.find('{');
  const std::size_t close = text.find('}');
  if (open == std::string::npos || open > close) {
    throw Error(kErrComposed,
                "Platzhalter mit \"}\" ohne \"{\" davor in der Regel >" + ruleText + "<");
  }
  std::string query = text.substr(open + 1, close - open - 1);
  std::string options = "COLLAPSE";
  NormalizeText(query, options);
  const std::string value = UnquoteValue(doc.GetElementValue(query, optional));
  return text.substr(0, open) + value + text.substr(close + 1);
}

}  // namespace

std::string ExpandFieldPlaceholders(DOMWrapper& doc, const std::string& ruleText, bool optional) {
  std::string text = ArgumentText(ruleText);
  for (int expansions = 0; text.find('}') != std::string::npos; ++expansions) {
    if (expansions == kMaxPlaceholderExpansions) {
      throw Error(kErrComposed, "Mehr als " + std::to_string(kMaxPlaceholderExpansions) +
                                    " Platzhalter-Ersetzungen in der Regel >" + ruleText +
                                    "< (ein Feldwert enthält sich selbst?)"_cp);
    }
    text = ExpandFirst(doc, text, ruleText, optional);
  }
  return text;
}

std::string EvaluateRuleFunction(Session& session, DOMWrapper& doc, const std::string& ruleText,
                                 bool optional) {
  const std::string name = UpperCase(GetToken(ruleText, 0, "="));
  for (const NamedRule& rule : RuleTable()) {
    if (name != rule.name) continue;
    try {
      return rule.run(RuleCall{session, doc, ruleText, optional});
    } catch (const Error& e) {
      throw Error(kErrComposed, e.Description());
    }
  }
  TerminateRun(session, "Funktion = " + name + " nicht bekannt", "48", "Abbruch");
}

std::string ApplyParameterRule(Session& session, DOMWrapper& doc, const RecordSet& row) {
  const std::string ruleText = Trim(row.Value("Rule"));
  if (ruleText == "none") return {};
  if (ruleText == "fntuser") return GetLogonUser(session);
  if (ruleText == "UNC") {
    throw Error(kErrComposed,
                "Die Regel >UNC< hat keinen Pfad, aus dem sie die Freigabe bilden könnte"_cp);
  }
  const bool optional = Trim(row.Value("XML_Optional")) == "*";
  return UnquoteValue(EvaluateRuleFunction(session, doc, ruleText, optional));
}

std::string GetParameterValue(const Session& session, const std::string& name) {
  return session.params.FindParameterValue(session.params.RowCounter, name);
}

std::string GetLogonUser(Session& session) {
  try {
    return session.system.LogonUserName();
  } catch (const Error&) {
    return {};
  }
}

}  // namespace quenda
