#include "conservation/value_expression.h"

#include <gtest/gtest.h>

#include "conservation/conservation_fixture.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

using testing::ConservationFixture;

void SetValues(ConservationFixture& f) {
  f.S().spec.At(1).Value = "ABCDEF";
  f.S().spec.At(2).Value = "ABCD";
  f.S().spec.At(3).Value = "1234";
  f.S().spec.At(20).Value = "Z";
}

TEST(EvaluateValueExpression, PartsAndReferences) {
  struct Case {
    std::string expression, expected;
  } cases[] = {
      {"WERT(3[X])+-+WERT(2[2])", "1234-AB"},
      {"WERT(1[1,3,5])", "ACE"},
      {"WERT(1[5,1])", "EA"},
      {"WERT(1[x])", "ABCDEF"},
      {"WERT(1[2,9])", "B"},
      {"WERT(1[0])", ""},
      {"WERT(1[10])", "ABCDEF"},
      {"WERT(20[X])+WERT(0[X])", "Z"},
      {" WERT(1[X])", " WERT(1[X])"},
      {"Wert(1[X])", "Wert(1[X])"},
      {"a + b", "a  b"},
      {"a++b", "ab"},
      {"a+b+c+d+e+f+g+h+i+j+k+l", "abcdefghijk"},
      {"", ""},
  };
  for (const auto& c : cases) {
    ConservationFixture f;
    SetValues(f);
    EXPECT_EQ(EvaluateValueExpression(f.S(), c.expression, "KL"), c.expected)
        << "expression >" << c.expression << "<";
  }
}

TEST(EvaluateValueExpression, BadReferencesEndRunNamingLabelExpressionAndPart) {
  struct Case {
    std::string expression, part, why;
  } cases[] = {
      {"x+WERT(1)", "WERT(1)", "hat kein \"[\""},
      {"WERT(21[X])", "WERT(21[X])", "nennt den Slot >21<, erlaubt sind 0 bis 20"},
      {"WERT(a[X])", "WERT(a[X])", "nennt den Slot >a<, erlaubt sind 0 bis 20"},
      {"WERT(1[zwei])", "WERT(1[zwei])", "hat den ungültigen Bereich >zwei<"},
      {"WERT(1[-1])", "WERT(1[-1])", "hat den ungültigen Bereich >-1<"},
      {"WERT(1[0,2])", "WERT(1[0,2])", "hat die ungültige Position >0<"},
      {"WERT(1[1,a])", "WERT(1[1,a])", "hat die ungültige Position >a<"},
  };
  for (const auto& c : cases) {
    ConservationFixture f;
    SetValues(f);
    EXPECT_THROW(EvaluateValueExpression(f.S(), c.expression, "KT_ID"), RunEnded) << c.expression;
    EXPECT_EQ(f.ErrorFileText(), Utf8ToCp1252("Ausdruck >" + c.expression +
                                              "< von KT_ID: Verweis >" + c.part + "< " + c.why))
        << c.expression;
  }
}

TEST(ComputeValueExpression, ReportsTheFirstBadPartAndTheSlotsItReads) {
  std::vector<int> read;
  auto values = [&read](int slot) {
    read.push_back(slot);
    return std::string("ABCD");
  };
  ValueExpressionProblem problem;
  EXPECT_EQ(ComputeValueExpression("WERT(3[X])+-+WERT(2[2])", values, problem), "ABCD-AB");
  EXPECT_EQ(read, (std::vector<int>{3, 2}));
  EXPECT_FALSE(ComputeValueExpression("x+WERT(2)+WERT(22[1])", values, problem));
  EXPECT_EQ(problem.part, "WERT(2)");
  EXPECT_EQ(problem.why, "hat kein \"[\"");
  EXPECT_TRUE(IsValueExpressionDummy("ERG=WERT(1[X])"));
  EXPECT_FALSE(IsValueExpressionDummy("erg=WERT(1[X])"));
  EXPECT_FALSE(IsValueExpressionDummy("-"));
  EXPECT_EQ(ValueExpressionOfDummy("ERG=WERT(1[X])=rest"), "WERT(1[X])");
}

}  // namespace
}  // namespace quenda
