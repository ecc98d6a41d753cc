#include "dab/mask.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace quenda {
namespace {

TEST(EncodeMask, AddsKeyCodesAsHexDigits) {
  struct Case {
    std::string text, key, expected;
  } cases[] = {
      {"", "Holzbirn", ""},
      // 'A' 0x41 + 'H' 0x48 = 0x89; 'B' 0x42 + 'o' 0x6F = 0xB1
      {"AB", "Holzbirn", "89B1"},
      // a code sum below 16 keeps its leading zero digit
      {std::string(1, '\x01'), std::string(1, '\x02'), "03"},
      // a sum above 255 gives three digits: 0xFF + 'H' = 0x147
      {"\xff", "Holzbirn", "147"},
      // the key repeats: the ninth character takes the key's first letter again
      {"000000000", "Holzbirn", "78 9F 9C AA 92 99 A2 9E 78"},
  };
  for (auto& c : cases) {
    std::string expected = c.expected;
    std::erase(expected, ' ');
    EXPECT_EQ(EncodeMask(c.text, c.key), expected) << "text >" << c.text << "< key " << c.key;
  }
}

TEST(EncodeMask, TextLongerThanExtendedKeyIsAnError) {
  EXPECT_NO_THROW(EncodeMask(std::string(200, 'a'), kMaskKey));
  try {
    EncodeMask(std::string(201, 'a'), kMaskKey);
    FAIL() << "201 characters were masked";
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), kErrInvalidArgument);
    EXPECT_NE(e.Description().find("200"), std::string::npos) << e.Description();
  }
}

TEST(DecodeMask, RoundTripsEncodedTexts) {
  const std::string texts[] = {
      "", "A", "Projekt4711", "abcXYZ0123456789", "K-3_x.y z", std::string(200, 'z')};
  for (const auto& text : texts) {
    const std::string encoded = EncodeMask(text, kMaskKey);
    EXPECT_EQ(DecodeMask(encoded, kMaskKey), text) << "encoded >" << encoded << "<";
  }
}

TEST(DecodeMask, ReadsPairsInEitherCaseAndLastDigitAlone) {
  struct Case {
    std::string encoded, key, expected;
  } cases[] = {
      {"89b1", "Holzbirn", "AB"},
      {"89B1", "Holzbirn", "AB"},
      // a last single digit is read alone: 0x5 - 0x2 = 3
      {"5", std::string(1, '\x02'), "\x03"},
  };
  for (auto& c : cases) {
    EXPECT_EQ(DecodeMask(c.encoded, c.key), c.expected) << "encoded >" << c.encoded << "<";
  }
}

TEST(DecodeMask, InvalidPairsAreErrorsNamingTheText) {
  const std::string bad[] = {"NULL", "89G1", "89 1", "00"};  // "00" less 'H' is below 0
  for (const auto& encoded : bad) {
    try {
      DecodeMask(encoded, kMaskKey);
      ADD_FAILURE() << "no error for >" << encoded << "<";
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), kErrTypeMismatch) << encoded;
      EXPECT_NE(e.Description().find(">" + encoded + "<"), std::string::npos)
          << "encoded >" << encoded << "< message " << e.Description();
      EXPECT_NE(e.Description().find(" ung\xFCltig: >"), std::string::npos)
          << "the message is CP1252 text: " << e.Description();
    }
  }
}

}  // namespace
}  // namespace quenda
