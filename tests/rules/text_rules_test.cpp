#include "rules/text_rules.h"

#include <functional>

#include <gtest/gtest.h>

#include "base/error.h"

namespace quenda {
namespace {

struct Case {
  const char* function;
  std::function<std::string(std::string_view)> run;
  std::string argument;
  std::string expected;  // "ERROR n" for an error with number n
};

std::string Outcome(const Case& c) {
  try {
    return c.run(c.argument);
  } catch (const Error& e) {
    return "ERROR " + std::to_string(e.Number());
  }
}

TEST(TextRules, ValuesAndErrors) {
  const auto div = [](std::string_view a) { return RuleDiv(a, ","); };
  const auto divPoint = [](std::string_view a) { return RuleDiv(a, "."); };
  const Case cases[] = {
      {"ADDS", RuleAdds, "x+'-'+ y ", "x-y"},
      {"ADDS", RuleAdds, "' a '", " a "},
      {"ADDS", RuleAdds, "\ta\t+b", "ab"},
      {"ADDS", RuleAdds, "a+'b", "ab"},  // no second apostrophe: to the end
      {"ADDS", RuleAdds, "x'y'z+'", "y"},
      {"ADDS", RuleAdds, "a++b", "ab"},
      {"ADDS", RuleAdds, "", ""},
      {"DIV", div, "10/4", "2,5"},
      {"DIV", div, "10/5", "2"},
      {"DIV", div, "1/3", "0,333333333333333"},
      {"DIV", div, "/4", ""},
      {"DIV", div, "", ""},
      {"DIV", div, "7,5/2,5", "3"},
      {"DIV", div, "10", "ERROR 13"},
      {"DIV", div, "10/x", "ERROR 13"},
      {"DIV", div, "x/2", "ERROR 13"},
      {"DIV", div, "1.5/2", "7,5"},  // "." groups under ",": 1.5 reads 15
      {"DIV", div, "1.000/4", "250"},
      {"DIV", div, "1.000,5/0,5", "2001"},
      {"DIV", div, ".5/2", "ERROR 13"},
      {"DIV", div, "1,000.5/2", "ERROR 13"},
      {"DIV", divPoint, "1,000/4", "250"},
      {"DIV", divPoint, "1,000.5/0.5", "2001"},
      {"DIV", divPoint, "2,5/1", "25"},
      {"DIV", div, "10/0", "ERROR 11"},
      {"DIV", div, "0/0", "ERROR 6"},
      {"DIV", div, "1e300/1e-300", "ERROR 6"},
      {"CEXT", RuleCext, "name.abc.xyz", "name.xyz"},
      {"CEXT", RuleCext, "a.b.xyz", "xyz"},
      {"CEXT", RuleCext, "abc.xy", "ERROR 5"},
      {"CEXT", RuleCext, "   ", ""},
      {"CEXT", RuleCext, "       ", ""},
      {"CEXT", RuleCext, "ab", "ERROR 5"},
      {"CEXT", RuleCext, "", "ERROR 5"},
      {"NEXT", RuleNext, "a.b.hex", "a.b"},
      {"NEXT", RuleNext, "abc", "abc"},
      {"NEXT", RuleNext, ".hex", ""},
      {"STR-1", RuleStrMinus1, "abc", "ab"},
      {"STR-1", RuleStrMinus1, "a", ""},
      {"STR-1", RuleStrMinus1, "", "ERROR 5"},
      {"LASTC", RuleLastC, "abc", "c"},
      {"LASTC", RuleLastC, "", "ERROR 5"},
      {"LAST2C", RuleLast2C, "abc", "bc"},
      {"LAST2C", RuleLast2C, "ab", "ab"},
      {"LAST2C", RuleLast2C, "a", "ERROR 5"},
      {"PATH", RulePath, "C:\\a\\b\\f.txt", "C:\\a\\b"},
      {"PATH", RulePath, "C:\\f.txt", "C:"},
      {"PATH", RulePath, "", ""},
      {"PATH", RulePath, "  ", ""},
      {"PATH", RulePath, "f.txt", "ERROR 5"},
      {"FILE", RuleFile, "C:\\a\\b\\f.txt", "f.txt"},
      {"FILE", RuleFile, "C:\\a\\", ""},
      {"FILE", RuleFile, "", ""},
      {"FILE", RuleFile, "f.txt", "ERROR 5"},
      {"KV1", RuleKv1, "A*B**", "A B  "},
      {"KV1", RuleKv1, "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Outcome(c), c.expected) << c.function << "=" << c.argument;
  }
}

TEST(TextRules, ErrorsNameFunctionAndArgument) {
  try {
    RuleCext("abc.xy");
    FAIL();
  } catch (const Error& e) {
    EXPECT_NE(e.Description().find("CEXT mit dem Argument >abc.xy<"), std::string::npos)
        << e.Description();
  }
  try {
    RuleDiv("10/x", ",");
    FAIL();
  } catch (const Error& e) {
    EXPECT_NE(e.Description().find(">x< ist keine Zahl"), std::string::npos) << e.Description();
  }
}

TEST(SplitPathFile, FolderKeepsItsLastBackslash) {
  std::string path = "\\\\srv\\share\\f.xml";
  std::string file;
  SplitPathFile(path, file);
  EXPECT_EQ(path, "\\\\srv\\share\\");
  EXPECT_EQ(file, "f.xml");
  std::string noSlash = "f.xml";
  EXPECT_THROW(SplitPathFile(noSlash, file), Error);
}

TEST(UnquoteValue, OnlyValuesQuotedAtBothEnds) {
  const std::pair<std::string, std::string> cases[] = {
      {"\"abc\"", "abc"}, {"\"abc", "\"abc"}, {"abc\"", "abc\""}, {"\"a\"b\"", "a"},
      {"\"", ""},         {"", ""},           {"\"\"", ""},
  };
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(UnquoteValue(value), expected) << "value >" << value << "<";
  }
}

}  // namespace
}  // namespace quenda
