#include "rules/rule_functions.h"

#include <gtest/gtest.h>

#include "rules/placeholders.h"

#include "base/error.h"
#include "session/session.h"
#include "support/flow_site.h"
#include "table/record_set.h"
#include "text/cp1252.h"
#include "xml/dom_wrapper.h"

namespace quenda {
namespace {

using testing::FieldPlaceholder;
using testing::SessionFixture;

// A session with a loaded job holding the fields A = "x", B = " y ", Q = "\"q\"",
// P = a placeholder for A, S = a placeholder for itself.
class RuleFixture {
 public:
  explicit RuleFixture(const std::string& answers = {}) : f(answers) {
    f.system.env.emplace_back("USERNAME", "envuser");
    f.system.userName = "logon";
    job = f.dir.File("job.xml");
    f.dir.Write("job.xml", testing::FlowJob({{"A", "x"},
                                             {"B", " y "},
                                             {"Q", "\"q\""},
                                             {"P", FieldPlaceholder("A")},
                                             {"S", FieldPlaceholder("S")},
                                             {"N", "10"}}));
    doc = std::make_unique<DOMWrapper>(f.S().ui, f.S().files, f.S().site.FlowDataNamespaceUri);
    doc->Load(job, "xmlns:FD='" + f.S().site.FlowDataNamespaceUri + "'");
  }

  std::string Apply(const std::string& rule, const std::string& optional = {}) {
    RecordSet row({"Rule", "XML_Optional"});
    row.AddRecord({rule, optional});
    return ApplyParameterRule(f.S(), *doc, row);
  }

  // The value, or "ERROR " + number + " " + description.
  std::string Outcome(const std::string& rule, const std::string& optional = {}) {
    try {
      return Apply(rule, optional);
    } catch (const Error& e) {
      return "ERROR " + std::to_string(e.Number()) + " " + e.Description();
    }
  }

  SessionFixture f;
  std::string job;
  std::unique_ptr<DOMWrapper> doc;
};

TEST(ApplyParameterRule, RulesGiveTheirValues) {
  RuleFixture r;
  const std::string a = FieldPlaceholder("A");
  const std::string b = FieldPlaceholder("B");
  const std::pair<std::string, std::string> cases[] = {
      {"none", ""},
      {"  none  ", ""},
      {"fntuser", "logon"},
      {"USER", "envuser"},
      {"user=whatever", "envuser"},
      {"ADDS=" + a + "+'-'+" + b, "x-y"},
      {"adds=" + a + " + '_' + " + b, "x_y"},
      {"ADDS=' a '", " a "},
      {"KV1=\"abc\"", "abc"},  // quoted at both ends: the text between
      {"KV1=\"abc", "\"abc"},
      {"KV1=" + FieldPlaceholder("Q"), "q"},
      {"KV1=" + FieldPlaceholder("P"), "x"},       // an inserted placeholder is expanded again
      {"KV1={ //FD:Field[ @Name = 'A' ] }", "x"},  // blanks inside braces removed
      {"DIV=" + FieldPlaceholder("N") + "/4", "2,5"},
      {"NEXT=a.b.hex", "a.b"},
      {"CEXT=name.abc.xyz", "name.xyz"},
      {"STR-1=abc", "ab"},
      {"LASTC=abc", "c"},
      {"LAST2C=abc", "bc"},
      {"PATH=C:\\a\\b\\f.txt", "C:\\a\\b"},
      {"FILE=C:\\a\\b\\f.txt", "f.txt"},
      {"PATH=", ""},
      {"KV1=A*B**", "A B  "},
      {"NEXT", "NEXT"},  // no "=": the whole rule is the argument
  };
  for (const auto& [rule, expected] : cases) {
    EXPECT_EQ(r.Outcome(rule), expected) << "rule >" << rule << "<";
  }
}

TEST(ApplyParameterRule, MissingFieldIsOptionalOnlyWithTheMark) {
  RuleFixture r;
  const std::string rule = "KV1=" + FieldPlaceholder("Missing");
  EXPECT_EQ(r.Outcome(rule, " * "), "");
  const std::string failed = r.Outcome(rule, "");
  EXPECT_EQ(failed.rfind("ERROR 60000 Error in Function 'DOMWrapper.GetElementValue'", 0), 0u)
      << failed;
}

TEST(ApplyParameterRule, EvaluationErrorsBecome60000WithTheirDescription) {
  RuleFixture r;
  const std::pair<std::string, std::string> cases[] = {
      {"CEXT=abc.xy", "ERROR 60000 Unzulässiger Prozeduraufruf"},
      {"DIV=10", "ERROR 60000 Typen unverträglich"},
      {"LASTC=", "ERROR 60000 Unzulässiger Prozeduraufruf"},
      {"FILE=f.txt", "ERROR 60000 Unzulässiger Prozeduraufruf"},
      {"DIV=1/0", "ERROR 60000 Division durch Null"},
  };
  for (const auto& [rule, prefix] : cases) {
    const std::string outcome = r.Outcome(rule);
    EXPECT_EQ(outcome.rfind(Utf8ToCp1252(prefix), 0), 0u) << rule << " gave " << outcome;
  }
}

TEST(ApplyParameterRule, UnknownFunctionEndsTheRun) {
  for (const std::string rule : {"ADDS =x", "FOO=1", "NONE"}) {
    RuleFixture r;
    testing::DialogLog dialogs(r.f);
    EXPECT_THROW(r.Apply(rule), RunEnded) << rule;
    const std::string name = UpperCase(rule.substr(0, rule.find('=')));
    EXPECT_EQ(
        dialogs.All(),
        testing::MessageJson("Abbruch", "Funktion = " + name + " nicht bekannt", 48, "OK") + "\n")
        << rule;
  }
}

TEST(ApplyParameterRule, UncFailsNamingTheRule) {
  RuleFixture r;
  const std::string outcome = r.Outcome("UNC");
  EXPECT_EQ(outcome.rfind("ERROR 60000 ", 0), 0u) << outcome;
  EXPECT_NE(outcome.find(">UNC<"), std::string::npos) << outcome;
}

TEST(ExpandFieldPlaceholders, MalformedOrSelfContainingPlaceholdersFail) {
  RuleFixture r;
  const std::string cases[] = {
      "KV1=a}b",
      "KV1=a}b{c}",
      "KV1=" + FieldPlaceholder("S"),
  };
  for (const auto& rule : cases) {
    const std::string outcome = r.Outcome(rule);
    EXPECT_EQ(outcome.rfind("ERROR 60000 ", 0), 0u) << rule << " gave " << outcome;
    EXPECT_NE(outcome.find(">" + rule + "<"), std::string::npos) << outcome;
  }
}

TEST(ExpandFieldPlaceholders, ArgumentAfterTheFirstEquals) {
  RuleFixture r;
  EXPECT_EQ(ExpandFieldPlaceholders(*r.doc, "ADDS=a=" + FieldPlaceholder("A"), false), "a=x");
  EXPECT_EQ(
      ExpandFieldPlaceholders(*r.doc, "KV1={//FD:Field[@Name='A']}{//FD:Field[@Name='B']}", false),
      "x y ");
}

TEST(GetParameterValue, FirstStoredRowUpToTheCounter) {
  SessionFixture f;
  ParamTable& t = f.S().params;
  t.At(0, ParamTable::kName) = "A";
  t.At(0, ParamTable::kValue) = "1";
  t.At(1, ParamTable::kName) = "A";
  t.At(1, ParamTable::kValue) = "2";
  t.At(2, ParamTable::kName) = "B";
  t.At(2, ParamTable::kValue) = "3";
  t.RowCounter = 1;
  EXPECT_EQ(GetParameterValue(f.S(), "A"), "1");
  EXPECT_EQ(GetParameterValue(f.S(), "B"), "") << "row 2 lies beyond the counter";
  EXPECT_EQ(GetParameterValue(f.S(), "a"), "") << "names are case-sensitive";
}

TEST(FindRuleFunction, TheDispatchTableWithItsArgumentLists) {
  EXPECT_EQ(RuleFunctionName("adds={A}"), "ADDS");
  EXPECT_EQ(RuleFunctionName("ADDS ={A}"), "ADDS ");
  EXPECT_EQ(FindRuleFunction("ADDS "), nullptr);
  EXPECT_EQ(FindRuleFunction("KV2"), nullptr);
  ASSERT_NE(FindRuleFunction("GET"), nullptr);
  EXPECT_EQ(FindRuleFunction("GET")->listArguments, 3);
  EXPECT_EQ(FindRuleFunction("INPV")->listArguments, 1);
  EXPECT_EQ(FindRuleFunction("DIV")->listArguments, 0);
  EXPECT_EQ(FindRuleFunction("USER")->listArguments, kNoRuleArgument);
  EXPECT_EQ(UnknownRuleFunctionMessage("KV2"), "Funktion = KV2 nicht bekannt");
}

TEST(ScanPlaceholders, ReportsTheRunsProblemAndLeavesAnOpenBraceAsText) {
  auto lookup = [](const std::string& query) { return query == "A" ? std::string("{B}") : "b"; };
  std::optional<Error> problem;
  EXPECT_EQ(ScanPlaceholders("ADDS={ A }+{C", lookup, problem), "b+{C");
  EXPECT_FALSE(problem.has_value());
  EXPECT_EQ(ScanPlaceholders("ADDS=x}{A}", lookup, problem), "x}{A}");
  ASSERT_TRUE(problem.has_value());
  EXPECT_EQ(problem->Description(),
            "Platzhalter mit \"}\" ohne \"{\" davor in der Regel >ADDS=x}{A}<");
}

}  // namespace
}  // namespace quenda
