#include "platform/code_page.h"

#include <gtest/gtest.h>

#include "text/cp1252.h"

namespace quenda {
namespace {

// What cmd reads back: the text in the console's code page, and CP1252 again.
TEST(CodePage, LettersBeyondAsciiAreWrittenInTheConsolesCodePage) {
  struct Case {
    std::string cp1252;
    int codePage;
    std::optional<std::string> bytes;
  };
  const Case cases[] = {
      {"Rel_M\xFCller.txt", 850, std::string("Rel_M\x81ller.txt")},
      {"\xC4\xD6\xDC\xE4\xF6\xFC\xDF", 850, std::string("\x8E\x99\x9A\x84\x94\x81\xE1")},
      {"\xE9", 437, std::string("\x82")},
      {"plain & 100%", 850, std::string("plain & 100%")},
      {"", 850, std::string()},
      {"\x80", 850, std::nullopt},          // Euro sign
      {"\x84", 850, std::nullopt},          // low double quote
      {"\x81", 850, std::nullopt},          // undefined in CP1252
      {"\xFC", 99999, std::nullopt},        // unknown code page
      {"ascii only", 99999, "ascii only"},  // never asks the system
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Cp1252ToCodePage(c.cp1252, c.codePage), c.bytes)
        << Cp1252ToUtf8(c.cp1252) << " in " << c.codePage;
    if (c.bytes) {
      EXPECT_EQ(CodePageToCp1252(*c.bytes, c.codePage), c.cp1252) << c.codePage;
    }
  }
}

TEST(CodePage, WhatCp1252CannotHoldIsReadAsQuestionMark) {
  EXPECT_EQ(CodePageToCp1252("a\xC9z", 850), "a?z");  // a box-drawing character
  EXPECT_EQ(CodePageToCp1252("a\x81z", 99999), "a?z");
}

}  // namespace
}  // namespace quenda
