#include "text/cp1252.h"

#include <gtest/gtest.h>

namespace quenda {
namespace {

TEST(Cp1252, LiteralHelperGivesSingleBytes) {
  EXPECT_EQ("für"_cp, std::string("f\xFCr"));
  EXPECT_EQ("Länge"_cp, std::string("L\xE4nge"));
  EXPECT_EQ("€"_cp, std::string("\x80"));
}

TEST(Cp1252, EveryByteRoundTripsThroughUtf8) {
  for (int b = 1; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one) << "byte " << b;
  }
}

TEST(Cp1252, CharactersOutsideBecomeQuestionMarks) {
  const std::pair<std::string, std::string> cases[] = {
      {"\xE2\x82\xAC", "\x80"},       // euro sign
      {"\xE4\xB8\xAD", "?"},          // a CJK character
      {"a\xF0\x9F\x98\x80z", "a?z"},  // outside the basic plane
      {"\xC3", "?"},                  // truncated sequence
      {"\xC0\xAF", "??"},             // C0 never starts a sequence
      {"\xE0\x80\xAF", "?"},          // overlong slash, three bytes
      {"\xFF", "?"},                  // never valid in UTF-8
      {"\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F", "\xE4\xF6\xFC\xDF"},
  };
  for (const auto& [utf8, expected] : cases) {
    EXPECT_EQ(Utf8ToCp1252(utf8), expected) << "input bytes of length " << utf8.size();
  }
}

TEST(Cp1252, CaseFollowsTheCodePage) {
  EXPECT_EQ(UpperCase("\xE4\xF6\xFC\x9A\x9C\x9E\xFFx"), "\xC4\xD6\xDC\x8A\x8C\x8E\x9FX");
  EXPECT_EQ(LowerCase("\xC4\xD6\xDC\x8A\x8C\x8E\x9FX"), "\xE4\xF6\xFC\x9A\x9C\x9E\xFFx");
  // sharp s, multiplication and division signs have no other case
  EXPECT_EQ(UpperCase("\xDF\xD7\xF7"), "\xDF\xD7\xF7");
  EXPECT_EQ(LowerCase("\xDF\xD7\xF7"), "\xDF\xD7\xF7");
  EXPECT_TRUE(
      EqualsIgnoreCase("Stra\xDF"
                       "e \xC4",
                       "STRA\xDF"
                       "E \xE4"));
  EXPECT_FALSE(EqualsIgnoreCase("abc", "abd"));
}

}  // namespace
}  // namespace quenda
