#include "text/regional_number.h"

#include <gtest/gtest.h>

namespace quenda {
namespace {

TEST(ParseRegionalNumber, AcceptsOnlyNumbersInTheRegionalFormat) {
  struct Case {
    std::string text, sep;
    std::optional<double> expected;
  } cases[] = {
      {"10", ",", 10},  {" -2,5 ", ",", -2.5}, {"+3", ",", 3},        {",5", ",", 0.5},
      {"5,", ",", 5},   {"1E3", ",", 1000},    {"2,5e-1", ",", 0.25}, {"2.5", ".", 2.5},
      {"2.5", ",", 25}, {"1.000", ",", 1000},  {"", ",", {}},         {" ", ",", {}},
      {",", ",", {}},   {"-", ",", {}},        {"1e", ",", {}},       {"abc", ",", {}},
      {"1 2", ",", {}}, {"12a", ",", {}},      {"2.5", "", 2.5},      {"1e999", ",", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseRegionalNumber(c.text, c.sep), c.expected)
        << "text >" << c.text << "< separator >" << c.sep << "<";
  }
}

// The grouping separator goes with the decimal separator and is passed over after any
// digit of the integer part, as the platform's conversion of a user's number does.
TEST(ParseRegionalNumber, GroupingSeparatorOfEitherRegionalSetting) {
  struct Case {
    std::string text, sep;
    std::optional<double> expected;
  } cases[] = {
      {"1.000", ",", 1000},  {"1.000.000", ",", 1e6},  {"-1.000,5", ",", -1000.5},
      {"10.00", ",", 1000},  {"1.0.0", ",", 100},      {"1.", ",", 1},
      {"1,000", ".", 1000},  {"1,000.5", ".", 1000.5}, {"1,000,000", ".", 1e6},
      {".5", ",", {}},       {"1..0", ",", {}},        {"1,000.5", ",", {}},
      {",5", ".", {}},       {"1.000,5", ".", {}},     {"1.000", ";", {}},
      {"1.5E3", ",", 15000}, {"1.000", "", 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseRegionalNumber(c.text, c.sep), c.expected)
        << "text >" << c.text << "< separator >" << c.sep << "<";
  }
  EXPECT_EQ(ParsePlainNumber("1.000", ","), std::nullopt) << "no grouping in plain numbers";
  EXPECT_EQ(ParsePlainNumber("1,000", "."), std::nullopt);
  EXPECT_EQ(ParsePlainNumber("1,5", ","), 1.5);
}

TEST(FormatRegionalNumber, FifteenDigitsAndExponent) {
  struct Case {
    double value;
    std::string sep, expected;
  } cases[] = {
      {2.5, ",", "2,5"},
      {3, ",", "3"},
      {-0.0, ",", "0"},
      {1.0 / 3, ",", "0,333333333333333"},
      {123456789012345, ",", "123456789012345"},
      {1e15, ",", "1E+15"},
      {0.0001, ",", "0,0001"},
      {0.00001, ",", "1E-05"},
      {-1.5e20, ".", "-1.5E+20"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatRegionalNumber(c.value, c.sep), c.expected) << c.value;
  }
}

TEST(FormatNumber000, WholeNumbersOfThreeDigitsOtherTextsUnchanged) {
  struct Case {
    std::string text, expected;
  } cases[] = {
      {"7", "007"},   {"12", "012"},  {"1234", "1234"}, {"0815", "815"},   {"12,5", "013"},
      {"2,4", "002"}, {"-5", "-005"}, {"-2,5", "-003"}, {"-0,4", "000"},   {"", ""},
      {"ME7", "ME7"}, {"1.5", "015"}, {"0", "000"},     {"1.000", "1000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumber000(c.text, ","), c.expected) << "text >" << c.text << "<";
  }
  EXPECT_EQ(FormatNumber000("1,000", "."), "1000");
  EXPECT_EQ(FormatNumber000("12.5", "."), "013");
  EXPECT_EQ(FormatNumber000("1.000,5", "."), "1.000,5") << "no number under \".\"";
}

}  // namespace
}  // namespace quenda
