#include "text/tokens.h"

#include <gtest/gtest.h>

namespace quenda {
namespace {

struct TokenCase {
  std::string text;
  int index;
  std::string delimiter;
  std::string expected;
};

TEST(GetToken, FieldsAndSentinel) {
  const TokenCase cases[] = {
      {"a|b|c", 0, "|", "a"}, {"a|b|c", 2, "|", "c"},    {"a|b|c", 3, "|", "|"},
      {"abc", 0, ",", "abc"}, {"abc", 1, ",", ","},      {"a,", 1, ",", ""},
      {"a,", 2, ",", ","},    {"", 0, ",", ""},          {"", 1, ",", ","},
      {"a|b", -3, "|", "a"},  {"|x", 0, "|", ""},        {"a||b", 1, "|", ""},
      {"a||b", 2, "|", "b"},  {"x\"y\"z", 1, "\"", "y"}, {"x\"yz", 1, "\"", "yz"},
      {"xyz", 1, "\"", "\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetToken(c.text, c.index, c.delimiter), c.expected)
        << "GetToken(\"" << c.text << "\", " << c.index << ", \"" << c.delimiter << "\")";
  }
}

TEST(NormalizeText, OptionsApplyInOrderAndWriteBack) {
  struct Case {
    std::string text, options, expected;
  } cases[] = {
      {" \t  \t", "TRIM", ""},
      {"  a \t b  ", "COMPRESS", "a b "},
      {"  a \t b  ", "TRIM,COMPRESS", "a b"},
      {"a b\tc", "COLLAPSE,UCASE", "ABC"},
      {"A B", "collapse,lowcase", "ab"},
      {"\xe4rger", "Ucase", "\xc4RGER"},
      {"x", "UNKNOWN", "x"},
      {"", "TRIM,COMPRESS", ""},
  };
  for (auto& c : cases) {
    std::string text = c.text;
    std::string options = c.options;
    const std::string result = NormalizeText(text, options);
    EXPECT_EQ(result, c.expected) << "text \"" << c.text << "\" options " << c.options;
    EXPECT_EQ(text, c.expected) << "text variable after " << c.options;
  }
}

TEST(NormalizeText, OptionsVariableIsUpperCased) {
  std::string text = "a b";
  std::string options = "Collapse,Ucase";
  NormalizeText(text, options);
  EXPECT_EQ(options, "COLLAPSE,UCASE");
  EXPECT_EQ(text, "AB");
}

TEST(SplitPath, DirectoryBarName) {
  const std::pair<std::string, std::string> cases[] = {
      {"C:\\dir\\file.txt", "C:\\dir|file.txt"},
      {"C:\\dir\\", "C:\\dir|"},
      {"\\name", "|name"},
      {"file.txt", "|"},
      {"", "|"},
      {"\\\\srv\\share\\a.b", "\\\\srv\\share|a.b"},
  };
  for (const auto& [path, expected] : cases) {
    EXPECT_EQ(SplitPath(path), expected) << "SplitPath(\"" << path << "\")";
  }
}

TEST(IsBlank, SpacesOnlyNotTabs) {
  EXPECT_TRUE(IsBlank(""));
  EXPECT_TRUE(IsBlank("   "));
  EXPECT_FALSE(IsBlank("\t"));
  EXPECT_FALSE(IsBlank(" x "));
}

}  // namespace
}  // namespace quenda
