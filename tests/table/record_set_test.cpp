#include "table/record_set.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/error.h"

namespace quenda {
namespace {

// A small global table: untrimmed values as the file holds them.
RecordSet GlobalTable() {
  RecordSet rs({"Kunde", "SG", "Expression", "Index", "Kunden Nr"});
  rs.AddRecord({"007", "ME7", "DATA6.Variante=X", "1", "a"});
  rs.AddRecord({"007", "ME7", "", "2", "b"});
  rs.AddRecord({"007 ", "ME7", "   ", " 3", "c"});
  rs.AddRecord({"O'Neil", "me7", "", "4", "d d"});
  rs.AddRecord({" 007", "ME7", "", "05", "e"});
  return rs;
}

std::string Indexes(RecordSet& rs) {
  std::string out;
  for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) out += rs.Value("Index") + "|";
  return out;
}

TEST(FilterExpression, ParsesTheSupportedForms) {
  struct Case {
    std::string expression;
    std::string expected;  // the indexes of the view
  } cases[] = {
      {"", "1|2| 3|4|05|"},
      {"   ", "1|2| 3|4|05|"},
      {"Kunde = '007'", "1|2| 3|"},  // trailing blanks do not count, leading ones do
      {"Kunde = '007   '", "1|2| 3|"},
      {"Kunde = ' 007'", "05|"},
      {"Kunde='007' And SG='ME7' And Expression <> ''", "1|"},
      {"Kunde = '007' AND SG = 'ME7' and Expression = ''", "2| 3|"},
      {"SG = 'ME7'", "1|2| 3|05|"},  // case-sensitive
      {"SG <> 'ME7'", "4|"},
      {"Kunde = 'O''Neil'", "4|"},
      {"[Kunden Nr] = 'd d'", "4|"},
      {"kunde = '007' And sg = 'ME7' And Index = 3", " 3|"},  // column names ignore case
      {"Index = 5", "05|"},
      {"Index = 5.0", "05|"},
      {"Index <> 1", "2| 3|4|05|"},
      {"Index = 9", ""},
      {"Kunde = ''", ""},
  };
  for (const auto& c : cases) {
    RecordSet rs = GlobalTable();
    rs.Filter(c.expression);
    EXPECT_EQ(Indexes(rs), c.expected) << "filter >" << c.expression << "<";
    EXPECT_EQ(rs.RecordCount(),
              static_cast<int>(std::count(c.expected.begin(), c.expected.end(), '|')))
        << "record count for >" << c.expression << "<";
  }
}

TEST(FilterExpression, UnreadableExpressionsAreErrorsNamingThem) {
  const std::string cases[] = {
      "Kunde",
      "Kunde = ",
      "Kunde = 007x",
      "Kunde = '007",
      "Kunde == '1'",
      "Kunde < '1'",
      "Kunde = '1' Or SG = '2'",
      "Kunde = '1' And",
      "Kunde = '1' SG = '2'",
      "[Kunde = '1'",
      "= '1'",
      "Kunde = '1' Andx SG = '2'",
      "Index = abc",
  };
  for (const auto& expression : cases) {
    RecordSet rs = GlobalTable();
    rs.Filter("Index = 4");
    try {
      rs.Filter(expression);
      ADD_FAILURE() << "no error for >" << expression << "<";
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), kErrBadFilter) << expression;
      EXPECT_NE(e.Description().find(">" + expression + "<"), std::string::npos) << e.Description();
    }
    EXPECT_EQ(Indexes(rs), "4|") << "view kept after >" << expression << "<";
  }
}

TEST(FilterExpression, UnknownColumnIsAnErrorNotAnEmptyView) {
  RecordSet rs = GlobalTable();
  try {
    rs.Filter("Kunde = '007' And Kundennr = '1'");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), kErrItemNotFound);
    EXPECT_NE(e.Description().find(">Kundennr<"), std::string::npos) << e.Description();
  }
  EXPECT_EQ(rs.RecordCount(), 5);
}

TEST(FilterExpression, QuoteFilterLiteralDoublesApostrophes) {
  EXPECT_EQ(QuoteFilterLiteral("O'Neil"), "'O''Neil'");
  EXPECT_EQ(QuoteFilterLiteral(""), "''");
  EXPECT_EQ(QuoteFilterLiteral("''"), "''''''");
  // Round trip through the parser.
  const auto clauses = ParseFilterExpression("Kunde = " + QuoteFilterLiteral("a' Or 'b"));
  ASSERT_EQ(clauses.size(), 1u);
  EXPECT_EQ(clauses[0].text, "a' Or 'b");
}

TEST(RecordSet, NavigationAndValues) {
  RecordSet rs({"A", "B", "C"});
  rs.AddRecord({"1", " x "});
  EXPECT_EQ(rs.Value("A"), "1") << "the record added last is current";
  rs.AddRecord({"2"});
  EXPECT_EQ(rs.Value(0), "2");
  EXPECT_EQ(rs.Value("B"), "");
  rs.MoveFirst();
  EXPECT_EQ(rs.Value("b"), " x ") << "values are kept untrimmed, names ignore case";
  EXPECT_EQ(rs.Value(2), "");
  rs.MoveNext();
  rs.MoveNext();
  EXPECT_TRUE(rs.Eof());
  EXPECT_THROW(rs.MoveNext(), Error);
  try {
    (void)rs.Value("A");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), kErrNoCurrentRecord);
  }
}

TEST(RecordSet, UnknownColumnsAndTooManyFields) {
  RecordSet rs({" Kunde", "SG"});
  rs.AddRecord({"1", "2"});
  struct Case {
    std::string name;
  } names[] = {{"Kunde"}, {"Kunde "}, {"X"}};
  for (const auto& c : names) {
    try {
      (void)rs.Value(c.name);
      ADD_FAILURE() << "no error for column >" << c.name << "<";
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), kErrItemNotFound) << c.name;
    }
  }
  EXPECT_EQ(rs.Value(" Kunde"), "1");
  EXPECT_THROW((void)rs.Value(2), Error);
  EXPECT_THROW((void)rs.Value(-1), Error);
  EXPECT_THROW(rs.AddRecord({"1", "2", "3"}), Error);
  EXPECT_THROW(rs.AddRecord({std::string(256, 'x')}), Error);
  rs.AddRecord({std::string(255, 'x')});
  EXPECT_EQ(rs.RecordCount(), 2);
}

TEST(RecordSet, CloseDropsEverything) {
  RecordSet rs = GlobalTable();
  rs.Close();
  EXPECT_THROW((void)rs.RecordCount(), Error);
  EXPECT_THROW(rs.Filter(""), Error);
  rs.Close();  // twice is harmless
}

}  // namespace
}  // namespace quenda
