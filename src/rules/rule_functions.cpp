#include "rules/rule_functions.h"

#include <array>
#include <functional>
#include <optional>

#include "base/error.h"
#include "rules/input_rules.h"
#include "rules/placeholders.h"
#include "rules/text_rules.h"
#include "session/session.h"
#include "session/termination.h"
#include "table/record_set.h"
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
  RuleFunctionInfo info;
  RuleFunction run;
};

// The functions in the order they are tried.
const std::array<NamedRule, 15>& RuleTable() {
  static const std::array<NamedRule, 15> table = {{
      {{"ADDS", 0}, [](const RuleCall& c) { return RuleAdds(c.Argument()); }},
      {{"DIV", 0}, [](const RuleCall& c) { return RuleDiv(c.Argument(), c.Sep()); }},
      {{"CEXT", 0}, [](const RuleCall& c) { return RuleCext(c.Argument()); }},
      {{"NEXT", 0}, [](const RuleCall& c) { return RuleNext(c.Argument()); }},
      {{"STR-1", 0}, [](const RuleCall& c) { return RuleStrMinus1(c.Argument()); }},
      {{"LASTC", 0}, [](const RuleCall& c) { return RuleLastC(c.Argument()); }},
      {{"LAST2C", 0}, [](const RuleCall& c) { return RuleLast2C(c.Argument()); }},
      {{"USER", kNoRuleArgument},
       [](const RuleCall& c) { return c.session.system.GetEnv("USERNAME"); }},
      {{"PATH", 0}, [](const RuleCall& c) { return RulePath(c.Argument()); }},
      {{"FILE", 0}, [](const RuleCall& c) { return RuleFile(c.Argument()); }},
      {{"KV1", 0}, [](const RuleCall& c) { return RuleKv1(c.Argument()); }},
      {{"XXX", 3}, [](const RuleCall& c) { return RuleSecurityMask(c.session, c.ruleText); }},
      {{"INP", 1}, [](const RuleCall& c) { return RuleInput(c.session, c.ruleText); }},
      {{"INPV", 1}, [](const RuleCall& c) { return RuleInputMasked(c.session, c.ruleText); }},
      {{"GET", 3}, [](const RuleCall& c) { return RuleListValue(c.session, c.ruleText); }},
  }};
  return table;
}

const NamedRule* FindRule(const std::string& name) {
  for (const NamedRule& rule : RuleTable()) {
    if (name == rule.info.name) return &rule;
  }
  return nullptr;
}

}  // namespace

std::string RuleFunctionName(const std::string& ruleText) {
  return UpperCase(GetToken(ruleText, 0, "="));
}

const RuleFunctionInfo* FindRuleFunction(const std::string& name) {
  const NamedRule* rule = FindRule(name);
  return rule == nullptr ? nullptr : &rule->info;
}

std::string UnknownRuleFunctionMessage(const std::string& name) {
  return "Funktion = " + name + " nicht bekannt";
}

std::string ExpandFieldPlaceholders(DOMWrapper& doc, const std::string& ruleText, bool optional) {
  std::optional<Error> problem;
  std::string text = ScanPlaceholders(
      ruleText, [&](const std::string& query) { return doc.GetElementValue(query, optional); },
      problem);
  if (problem) throw *problem;
  return text;
}

std::string EvaluateRuleFunction(Session& session, DOMWrapper& doc, const std::string& ruleText,
                                 bool optional) {
  const std::string name = RuleFunctionName(ruleText);
  const NamedRule* rule = FindRule(name);
  if (rule == nullptr)
    TerminateRun(session, UnknownRuleFunctionMessage(name), EndStyle::Box(48), "Abbruch");
  try {
    return rule->run(RuleCall{session, doc, ruleText, optional});
  } catch (const Error& e) {
    throw Error(kErrComposed, e.Description());
  }
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
