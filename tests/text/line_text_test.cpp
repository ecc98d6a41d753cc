#include "text/line_text.h"

#include <gtest/gtest.h>

#include "text/cp1252.h"

namespace quenda {
namespace {

TEST(LineText, BytesThatNoLineMayCarry) {
  const struct {
    std::string value;
    bool allowTab;
    int found;
  } cases[] = {
      {"Müller GmbH"_cp, true, -1},
      {"€ „Š“ ™"_cp, true, -1},  // 80 84 8A 93 99: letters and signs of CP1252
      {std::string("a\tb"), true, -1},
      {std::string("a\tb"), false, '\t'},
      {std::string("Mueller\nHEX-Datei = x"), true, 10},
      {std::string("a\r\nb"), true, 13},
      {std::string("a\0b", 3), true, 0},
      {std::string("a\x1f"), true, 31},
      {std::string("\x20"), true, -1},
      {std::string("\x7f"), true, 127},
      {std::string("\x80\x81"), true, 0x81},
      {std::string("\x8d"), true, 0x8D},
      {std::string("\x8f"), true, 0x8F},
      {std::string("\x90"), true, 0x90},
      {std::string("\x9d"), true, 0x9D},
      {std::string("\x8e\x9e\x9f"), true, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindLineBreakingByte(c.value, c.allowTab), c.found) << ShowCodes(c.value);
  }
}

TEST(LineText, CodesShownInBraces) {
  EXPECT_EQ(ShowCodes(std::string("a\r\nb\0c\x81\td\x80", 10)), "a{13}{10}b{0}c{129}\td\x80");
  EXPECT_EQ(ShowCodesCut(std::string(200, 'a')), std::string(200, 'a'));
  EXPECT_EQ(ShowCodesCut(std::string(201, 'a')), std::string(200, 'a') + "...");
}

TEST(LineText, RefusalNamesTheParameterTheFileAndTheCode) {
  EXPECT_EQ(RefusedLineValueText("KUNDE", "Mueller\nEND", "MX21K47_s.kon"),
            "Der Wert von KUNDE enthält einen Zeilenumbruch (Code 10) und kann nicht in "
            "MX21K47_s.kon geschrieben werden: >Mueller{10}END<"_cp);
  EXPECT_EQ(RefusedLineValueText("X", std::string("a\0", 2), "f.dab"),
            "Der Wert von X enthält ein Steuerzeichen (Code 0) und kann nicht in f.dab "
            "geschrieben werden: >a{0}<"_cp);
  EXPECT_EQ(RefusedLineValueText("X", "\x9d", "f.dab"),
            "Der Wert von X enthält ein Zeichen, das CP1252 nicht belegt (Code 157) und kann "
            "nicht in f.dab geschrieben werden: >{157}<"_cp);
}

}  // namespace
}  // namespace quenda
