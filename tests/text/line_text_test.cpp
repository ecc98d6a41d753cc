#include "text/line_text.h"

#include <gtest/gtest.h>

#include "text/cp1252.h"

namespace quenda {
namespace {

TEST(LineText, BytesThatNoLineMayCarryAreFoundAndShownInBraces) {
  const std::pair<std::string, int> cases[] = {
      {"€ „Š“ ™"_cp, -1}, {"a\tb", -1},   {"a\r\nb", 13},       {std::string("a\0b", 3), 0},
      {"\x7f", 127},      {"\x9d", 0x9D}, {"\x8e\x9e\x9f", -1},
  };
  for (const auto& [value, found] : cases) {
    EXPECT_EQ(FindLineBreakingByte(value, true), found) << ShowCodes(value);
  }
  EXPECT_EQ(FindLineBreakingByte("a\tb", false), '\t');
  EXPECT_EQ(ShowCodesCut(std::string(200, 'a')), std::string(200, 'a'));
  EXPECT_EQ(ShowCodesCut(std::string(201, 'a')), std::string(200, 'a') + "...");
  EXPECT_EQ(RefusedLineValueText("KUNDE", "Mueller\nEND", "MX21K47_s.kon"),
            "Der Wert von KUNDE enthält einen Zeilenumbruch (Code 10) und kann nicht in "
            "MX21K47_s.kon geschrieben werden: >Mueller{10}END<"_cp);
}

}  // namespace
}  // namespace quenda
