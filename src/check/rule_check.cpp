#include "check/rule_check.h"

#include <optional>

#include "base/error.h"
#include "check/finding.h"
#include "platform/files.h"
#include "platform/input_file.h"
#include "rules/input_rules.h"
#include "rules/placeholders.h"
#include "rules/rule_functions.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

struct RuleCheck {
  const RuleCheckContext& c;
  std::size_t index;
  TableReport& report;

  const MarkedRow& Row() const { return c.rows[index]; }
  const std::string& Rule() const { return Row().rule; }
  void Error(FindingKind kind, const std::string& text) const {
    report.Error(kind, Row().line, text);
  }
  void Warning(FindingKind kind, const std::string& text) const {
    report.Warning(kind, Row().line, text);
  }
};

// The argument as the run's scanner expands it when every placeholder is empty.
void CheckExpandedArgument(const RuleCheck& r, const std::string& name) {
  std::optional<Error> problem;
  const std::string text = ScanPlaceholders(
      r.Rule(), [](const std::string&) { return std::string(); }, problem);
  if (problem) {
    r.Error(FindingKind::kRuleArgument, problem->Description());
  } else if (text.find('{') != std::string::npos) {
    r.Error(FindingKind::kRuleArgument,
            "Platzhalter mit \"{\" ohne \"}\" danach in der Regel >" + r.Rule() + "<");
  } else if (name == "DIV" && text.find('/') == std::string::npos) {
    r.Error(FindingKind::kRuleArgument, "DIV ohne \"/\" im Argument der Regel >" + r.Rule() + "<");
  }
}

void CheckListFile(const RuleCheck& r, const std::string& path) {
  if (r.c.files.FileExists(path)) return;
  if (IsNonRegularFile(r.c.files, path)) {
    r.Error(FindingKind::kListFileMissing,
            "Die Listendatei der Regel >" + r.Rule() +
                "< kann nicht gelesen werden: " + NotRegularFileError(path).Description());
    return;
  }
  const bool mapped = r.c.files.Map().CanResolve(path);
  r.Error(
      FindingKind::kListFileMissing,
      "Die Listendatei >" + path + "< der Regel >" + r.Rule() + "< " +
          (mapped ? "gibt es nicht" : "liegt auf keinem Laufwerk der Laufwerkszuordnung [Paths]"));
}

void CheckFieldNumber(const RuleCheck& r, const std::string& what, const std::string& text) {
  const std::optional<Error> problem = RuleInt16Problem(text, r.c.decimalSeparator);
  if (!problem) return;
  r.Error(FindingKind::kFieldNumber,
          what + " >" + text + "< der Regel >" + r.Rule() + "< ist keine 16-Bit-Zahl");
}

// The line of the first marked row named `name` (compared exactly, as the parameter
// table is searched); 0 for none.
int LineOfParameter(const MarkedRows& rows, const std::string& name) {
  for (const MarkedRow& row : rows) {
    if (row.name == name) return row.line;
  }
  return 0;
}

void CheckGetParameter(const RuleCheck& r, const std::string& name) {
  const int first = LineOfParameter(r.c.rows, name);
  if (first != 0 && first < r.Row().line) return;  // evaluated before this row
  if (first == 0) {
    r.Error(FindingKind::kGetParameter,
            "GET liest den Parameter >" + name + "<, den keine markierte Zeile hat");
    return;
  }
  r.Warning(FindingKind::kGetParameter, "GET liest den Parameter >" + name +
                                            "<, der erst in Zeile " + std::to_string(first) +
                                            " berechnet wird: sein Wert ist hier noch leer");
}

void CheckListArguments(const RuleCheck& r, const std::string& name, const std::string& list) {
  auto arg = [&list](int i) { return RuleArgument(list, i); };
  if (name == "XXX") {
    CheckListFile(r, arg(1));
    CheckFieldNumber(r, "Das Schlüsselfeld"_cp, arg(2));
  } else if (name == "GET") {
    CheckListFile(r, arg(0));
    CheckGetParameter(r, arg(1));
    CheckFieldNumber(r, "Das Ergebnisfeld", arg(2));
  }
}

void CheckArgumentList(const RuleCheck& r, const RuleFunctionInfo& function) {
  const std::optional<std::string> list = FindRuleArgumentList(r.Rule());
  if (!list) {
    r.Error(FindingKind::kArgumentList,
            "Die Regel >" + r.Rule() + "< hat keine Argumentliste {...}");
    return;
  }
  const int count = RuleArgumentCount(*list);
  if (count != function.listArguments) {
    const int wanted = function.listArguments;
    r.Error(FindingKind::kArgumentList,
            std::string(function.name) + " braucht " + std::to_string(wanted) +
                (wanted == 1 ? " Argument" : " Argumente") + " in {...}, die Regel >" + r.Rule() +
                "< hat " + std::to_string(count));
    return;
  }
  CheckListArguments(r, function.name, *list);
}

}  // namespace

void CheckRule(const RuleCheckContext& c, std::size_t index, TableReport& report) {
  const RuleCheck r{c, index, report};
  const std::string& rule = r.Rule();
  if (rule == "none" || rule == "fntuser") return;
  if (rule == "UNC") {
    r.Error(FindingKind::kArgumentList,
            "Die Regel >UNC< hat keinen Pfad, aus dem sie die Freigabe bilden könnte"_cp);
    return;
  }
  const std::string name = RuleFunctionName(rule);
  const RuleFunctionInfo* function = FindRuleFunction(name);
  if (function == nullptr) {
    r.Error(FindingKind::kUnknownFunction, UnknownRuleFunctionMessage(name));
  } else if (function->listArguments > 0) {
    CheckArgumentList(r, *function);
  } else if (function->listArguments == 0) {
    CheckExpandedArgument(r, name);
  }
}

}  // namespace quenda
