#include "rules/input_rules.h"

#include <cmath>
#include <optional>

#include "base/error.h"
#include "dab/mask.h"
#include "rules/flow_write_back.h"
#include "rules/rule_functions.h"
#include "session/session.h"
#include "session/termination.h"
#include "text/cp1252.h"
#include "text/regional_number.h"
#include "text/tokens.h"

namespace quenda {
namespace {

std::string Collapsed(const std::string& text) { return Normalized(text, "COLLAPSE"); }

std::string InputTitle() { return "Eingabe über Konfiguration"_cp; }

void WritePlantIndex(Session& s, const std::string& index) {
  s.job.CustomerPlantIndex = index;
  SetFlowFields(s, s.job.JobFilePath, "Customer_plant_index", index, "String");
}

}  // namespace

std::optional<std::string> FindRuleArgumentList(const std::string& ruleText) {
  const std::size_t open = ruleText.find('{');
  const std::size_t close = open == std::string::npos ? open : ruleText.find('}', open);
  if (close == std::string::npos) return std::nullopt;
  return ruleText.substr(open + 1, close - open - 1);
}

std::string RuleArgumentList(const std::string& ruleText) {
  std::optional<std::string> list = FindRuleArgumentList(ruleText);
  if (!list) {
    throw PlatformError(kErrInvalidArgument,
                        "keine Argumentliste {...} in der Regel >" + ruleText + "<");
  }
  return *list;
}

std::string RuleArgument(const std::string& list, int index) { return GetToken(list, index, ","); }

int RuleArgumentCount(const std::string& list) {
  int count = 0;
  while (RuleArgument(list, count) != ",") ++count;
  return count;
}

namespace {

// The whole number RuleInt16 gives, before its range is checked.
std::optional<double> Int16Candidate(const std::string& text, const std::string& separator) {
  const std::optional<double> value = ParseRegionalNumber(text, separator);
  if (!value) return std::nullopt;
  return std::nearbyint(*value);  // to even, as the platform rounds
}

}  // namespace

std::optional<Error> RuleInt16Problem(const std::string& text,
                                      const std::string& decimalSeparator) {
  const std::optional<double> whole = Int16Candidate(text, decimalSeparator);
  if (!whole) return PlatformError(kErrTypeMismatch, ">" + text + "< ist keine Zahl");
  if (*whole < -32768 || *whole > 32767) return PlatformError(kErrOverflow, text);
  return std::nullopt;
}

int RuleInt16(const std::string& text, const std::string& decimalSeparator) {
  if (std::optional<Error> problem = RuleInt16Problem(text, decimalSeparator)) throw *problem;
  return static_cast<int>(*Int16Candidate(text, decimalSeparator));
}

std::string SelectListLine(Session& s, const std::string& listFile, const std::string& key,
                           int keyField, const std::string& delimiter) {
  s.record.AwaitInput(listFile, input_role::kList);
  const std::vector<std::string> lines = s.files.ReadLines(listFile);
  for (const std::string& line : lines) {
    if (GetToken(line, keyField, delimiter) != key) continue;
    if (s.ui.MsgBox("Der selektierte String = >" + line + "<", 1, "Kontrolle") == Answer::kCancel) {
      TerminateRun(s, "Abbruch durch Benutzer bei Analyse von " + listFile, EndStyle::Box(48),
                   "Abbruch");
    }
    return Trim(line);
  }
  return "0";
}

namespace {

// Field `index` of a selected list line. A line too short for it would hand the
// delimiter on as the value: the run ends naming the list file and the line instead.
std::string ListField(Session& s, const std::string& listFile, const std::string& line, int index) {
  const std::string field = GetToken(line, index, ";");
  if (field == ";") {
    TerminateRun(
        s,
        "Die Zeile >" + line + "< in " + listFile + " hat kein Feld " + std::to_string(index) + "!",
        EndStyle::Box(48), "Abbruch");
  }
  return field;
}

}  // namespace

std::string RuleSecurityMask(Session& s, const std::string& ruleText) {
  const std::string list = RuleArgumentList(ruleText);
  const std::string prompt = RuleArgument(list, 0);
  const std::string listFile = RuleArgument(list, 1);
  const int keyField = RuleInt16(RuleArgument(list, 2), s.site.DecimalSeparator);
  const std::string input = s.ui.InputBox(prompt, "Eingabe", "");
  const std::string line = SelectListLine(s, listFile, input, keyField, ";");
  if (line == "0") {
    TerminateRun(s, "Keine korrekte Selektion von SecurityAccess!!", EndStyle::Box(48), "Abbruch");
  }
  const std::string value = EncodeMask(Collapsed(ListField(s, listFile, line, 1)), kMaskKey);
  WritePlantIndex(s, Collapsed(ListField(s, listFile, line, 3)));
  return value;
}

std::string RuleInput(Session& s, const std::string& ruleText) {
  const std::string prompt = RuleArgument(RuleArgumentList(ruleText), 0);
  for (;;) {
    const std::string input = s.ui.InputBox(prompt, InputTitle(), "");
    const Answer answer =
        s.ui.MsgBox("Ist die Eingabe für "_cp + prompt + " von >" + input + "< korrekt?", 3);
    if (answer == Answer::kYes) return input;
    if (answer == Answer::kCancel) {
      TerminateRun(s, "Abbruch durch den Benutzer bei INP-Dateneingabe", EndStyle::Box(48),
                   "Abbruch");
    }
  }
}

std::string RuleInputMasked(Session& s, const std::string& ruleText) {
  const std::string prompt = RuleArgument(RuleArgumentList(ruleText), 0);
  return EncodeMask(s.ui.InputBox(prompt, InputTitle(), ""), kMaskKey);
}

std::string RuleListValue(Session& s, const std::string& ruleText) {
  const std::string list = RuleArgumentList(ruleText);
  const std::string listFile = RuleArgument(list, 0);
  const std::string key = GetParameterValue(s, RuleArgument(list, 1));
  const int resultField = RuleInt16(RuleArgument(list, 2), s.site.DecimalSeparator);
  const std::string line = SelectListLine(s, listFile, key, 0, ";");
  // No line for the key ("0") must not become the parameter's value.
  if (line == "0" || line.empty()) {
    TerminateRun(s, "Kein Wert für \""_cp + key + "\" bekannt!!", EndStyle::Box(48), "Abbruch");
  }
  return ListField(s, listFile, line, resultField);
}

}  // namespace quenda
