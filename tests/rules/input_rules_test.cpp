#include "rules/input_rules.h"

#include <gtest/gtest.h>

#include "ui/transcript.h"

#include "base/error.h"
#include "dab/mask.h"
#include "session/session.h"
#include "support/flow_site.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

using testing::DialogLog;
using testing::InputJson;
using testing::MessageJson;
using testing::SessionFixture;

const std::string kList = "K1;a;b\r\nK2;c;d\r\n K2 ;e;f\r\nK2;g;h\r\n";

TEST(SelectListLine, FirstMatchingLineAfterTheControlBox) {
  SessionFixture f("button OK\nbutton OK\n");
  f.dir.Write("list.txt", kList);
  DialogLog dialogs(f);
  const std::string list = f.dir.File("list.txt");
  EXPECT_EQ(SelectListLine(f.S(), list, "K2", 0, ";"), "K2;c;d");
  EXPECT_EQ(SelectListLine(f.S(), list, "f", 2, ";"), "K2 ;e;f") << "trimmed after the box";
  EXPECT_EQ(dialogs.All(),
            MessageJson("Kontrolle", "Der selektierte String = >K2;c;d<", 1, "OK") + "\n" +
                MessageJson("Kontrolle", "Der selektierte String = > K2 ;e;f<", 1, "OK") + "\n");
}

TEST(SelectListLine, NoMatchGivesZeroWithoutBox) {
  SessionFixture f;  // no answers: a box would end the test with status 3
  f.dir.Write("list.txt", kList);
  const std::string list = f.dir.File("list.txt");
  EXPECT_EQ(SelectListLine(f.S(), list, "K9", 0, ";"), "0");
  EXPECT_EQ(SelectListLine(f.S(), list, "k2", 0, ";"), "0") << "keys are case-sensitive";
  EXPECT_EQ(SelectListLine(f.S(), list, "K2", 7, ";"), "0");
}

TEST(SelectListLine, CancelEndsTheRunAndMissingFileFails) {
  SessionFixture f("button Cancel\n");
  f.dir.Write("list.txt", kList);
  DialogLog dialogs(f);
  const std::string list = f.dir.File("list.txt");
  EXPECT_THROW(SelectListLine(f.S(), list, "K1", 0, ";"), RunEnded);
  EXPECT_EQ(dialogs.Lines().back(),
            MessageJson("Abbruch", "Abbruch durch Benutzer bei Analyse von " + list, 48, "OK"));
  try {
    SelectListLine(f.S(), f.dir.File("none.txt"), "K1", 0, ";");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), kErrFileNotFound);
    EXPECT_NE(e.Description().find("none.txt"), std::string::npos) << e.Description();
  }
}

TEST(RuleArguments, ListBetweenTheFirstBraces) {
  EXPECT_EQ(RuleArgumentList("GET={a,b,2}x}"), "a,b,2");
  EXPECT_EQ(RuleArgument("a,b,2", 2), "2");
  EXPECT_EQ(RuleArgument("a,b", 2), ",");
  EXPECT_THROW(RuleArgumentList("GET=a,b,2"), Error);
  EXPECT_THROW(RuleArgumentList("GET={a,b,2"), Error);
  const std::pair<std::string, std::string> ints[] = {
      {"2", "2"},        {" 3 ", "3"},      {"2,5", "2"},         {"3,5", "4"},
      {"x", "ERROR 13"}, {",", "ERROR 13"}, {"40000", "ERROR 6"},
  };
  for (const auto& [text, expected] : ints) {
    std::string outcome;
    try {
      outcome = std::to_string(RuleInt16(text, ","));
    } catch (const Error& e) {
      outcome = "ERROR " + std::to_string(e.Number());
    }
    EXPECT_EQ(outcome, expected) << "text >" << text << "<";
  }
}

TEST(RuleInput, AsksUntilConfirmed) {
  SessionFixture f("text 41\nbutton No\ntext 42\nbutton Yes\n");
  DialogLog dialogs(f);
  EXPECT_EQ(RuleInput(f.S(), "INP={Seriennummer}"), "42");
  const std::string title = "Eingabe über Konfiguration"_cp;
  EXPECT_EQ(
      dialogs.All(),
      InputJson(title, "Seriennummer", "41") + "\n" +
          MessageJson("Quenda", "Ist die Eingabe für Seriennummer von >41< korrekt?"_cp, 3, "No") +
          "\n" + InputJson(title, "Seriennummer", "42") + "\n" +
          MessageJson("Quenda", "Ist die Eingabe für Seriennummer von >42< korrekt?"_cp, 3, "Yes") +
          "\n");
}

TEST(RuleInput, CancelEndsTheRun) {
  SessionFixture f("text 41\nbutton Cancel\n");
  DialogLog dialogs(f);
  EXPECT_THROW(RuleInput(f.S(), "INP={Seriennummer}"), RunEnded);
  EXPECT_EQ(dialogs.Lines().back(),
            MessageJson("Abbruch", "Abbruch durch den Benutzer bei INP-Dateneingabe", 48, "OK"));
}

TEST(RuleInputMasked, OneInputMasked) {
  SessionFixture f("text Geheim\n");
  DialogLog dialogs(f);
  EXPECT_EQ(RuleInputMasked(f.S(), "INPV={Passwort}"), EncodeMask("Geheim", kMaskKey));
  EXPECT_EQ(dialogs.All(), InputJson("Eingabe über Konfiguration"_cp, "Passwort", "Geheim") + "\n");
}

class ListValueTest : public ::testing::Test {
 protected:
  explicit ListValueTest(const std::string& answers = "button OK\n") : f(answers) {
    f.dir.Write("list.txt", kList);
    ParamTable& t = f.S().params;
    t.At(0, ParamTable::kName) = "SGNR";
    t.At(0, ParamTable::kValue) = "K2";
    t.At(1, ParamTable::kName) = "LEER";
    t.At(1, ParamTable::kValue) = "K9";
    t.RowCounter = 2;
  }
  std::string Rule(const std::string& parameter, const std::string& field) {
    return "GET={" + f.dir.File("list.txt") + "," + parameter + "," + field + "}";
  }
  SessionFixture f;
};

TEST_F(ListValueTest, FieldOfTheLineOfTheParameterValue) {
  EXPECT_EQ(RuleListValue(f.S(), Rule("SGNR", "2")), "d");
}

TEST_F(ListValueTest, FieldBeyondTheLineEndsTheRunNamingFileAndLine) {
  DialogLog dialogs(f);
  // The delimiter sentinel must not become the parameter's value.
  EXPECT_THROW(RuleListValue(f.S(), Rule("SGNR", "5")), RunEnded);
  const std::string all = dialogs.All();
  const std::string file = JsonString(f.dir.File("list.txt"));
  EXPECT_NE(all.find("in " + file.substr(1, file.size() - 2) + " hat kein Feld 5!"),
            std::string::npos)
      << all;
}

TEST_F(ListValueTest, NoLineForTheKeyEndsTheRun) {
  DialogLog dialogs(f);
  EXPECT_THROW(RuleListValue(f.S(), Rule("LEER", "1")), RunEnded);
  EXPECT_EQ(dialogs.All(),
            MessageJson("Abbruch", "Kein Wert für \"K9\" bekannt!!"_cp, 48, "OK") + "\n");
}

TEST_F(ListValueTest, UnknownParameterLooksUpTheEmptyKey) {
  DialogLog dialogs(f);
  EXPECT_THROW(RuleListValue(f.S(), Rule("NIX", "1")), RunEnded);
  EXPECT_EQ(dialogs.All(),
            MessageJson("Abbruch", "Kein Wert für \"\" bekannt!!"_cp, 48, "OK") + "\n");
}

TEST(RuleArguments, CountAndSixteenBitFieldNumbers) {
  EXPECT_EQ(RuleArgumentCount(""), 1) << "an empty list holds one empty argument";
  EXPECT_EQ(RuleArgumentCount("a"), 1);
  EXPECT_EQ(RuleArgumentCount("a,b,c"), 3);
  EXPECT_EQ(RuleArgumentCount("a,,"), 3);
  EXPECT_FALSE(FindRuleArgumentList("INP=prompt").has_value());
  EXPECT_FALSE(FindRuleArgumentList("INP=}prompt{").has_value());
  EXPECT_EQ(FindRuleArgumentList("INP=}{a,b}"), "a,b");
  struct Case {
    std::string text;
    int number;  // 0: no problem
  } cases[] = {{"1", 0},
               {" 2 ", 0},
               {"2,5", 0},
               {"-32768", 0},
               {"32767", 0},
               {"32768", kErrOverflow},
               {"eins", kErrTypeMismatch},
               {"", kErrTypeMismatch}};
  for (const Case& c : cases) {
    const std::optional<Error> problem = RuleInt16Problem(c.text, ",");
    EXPECT_EQ(problem ? problem->Number() : 0, c.number) << ">" << c.text << "<";
  }
}

}  // namespace
}  // namespace quenda
