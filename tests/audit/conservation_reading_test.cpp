#include "audit/conservation_reading.h"

#include <gtest/gtest.h>

#include "text/cp1252.h"

namespace quenda::audit {
namespace {

std::string Block(const std::string& keyword, const std::string& label, const std::string& value,
                  const std::string& body) {
  return "\r\n* Konserve für "_cp + label + " mit Wert >" + value + "<\r\n\r\n" + keyword + " " +
         label + "\r\n" + body + "END\r\n\r\n";
}

TEST(ReadConservationFile, ValueLinesAtAndPastTheirLimits) {
  const struct {
    std::string body;
    bool wellFormed;
    std::vector<int> numbers;
  } cases[] = {
      {"   WERT\t\r\n", true, {}},
      {"   WERT\t1\t2\t3\t4\t5\t6\t7\t\r\n", true, {1, 2, 3, 4, 5, 6, 7}},
      {"   WERT\t1\t2\t3\t4\t5\t6\t7\t8\t\r\n", false, {}},
      {"   WERT\t1\t2\t3\t4\t5\t6\t7\t\r\n   WERT\t8\t\r\n", true, {1, 2, 3, 4, 5, 6, 7, 8}},
      {"   WERT\t1\t2\t3\t4\t5\t6\t\r\n   WERT\t8\t\r\n", false, {}},
      {"   WERT\t255\t\r\n", true, {255}},
      {"   WERT\t256\t\r\n", false, {}},
      {"   WERT\t07\t\r\n", false, {}},
      {"   WERT\t7\r\n", false, {}},
      {"", false, {}},
  };
  for (const auto& c : cases) {
    const ConservationFile file =
        ReadConservationFile(Block("FESTWERTEBLOCK", "KW", "x", c.body), false);
    ASSERT_EQ(file.blocks.size(), 1u) << c.body;
    EXPECT_EQ(file.blocks[0].faults.empty(), c.wellFormed) << c.body;
    if (c.wellFormed) {
      EXPECT_EQ(file.blocks[0].numbers, c.numbers) << c.body;
    }
  }
}

TEST(ReadConservationFile, TextBlockAndItsComment) {
  const ConservationFile file =
      ReadConservationFile(Block("TEXTSTRING", "KT_A", "a 'b' ", " TEXT    'a 'b' '\r\n"), false);
  ASSERT_EQ(file.blocks.size(), 1u);
  EXPECT_TRUE(file.blocks[0].faults.empty());
  EXPECT_EQ(file.blocks[0].text, "a 'b' ");
  EXPECT_EQ(file.blocks[0].commentValue, "a 'b' ");
  EXPECT_EQ(file.blocks[0].commentLabel, "KT_A");
}

TEST(ReadConservationFile, HeaderAndMissingEnd) {
  const std::string header =
      "* K o n s e r v i e r u n g\r\n\r\n* dummy Helmo HW-TTNR und SW-TTNR\r\n\r\n\r\n";
  const ConservationFile ok = ReadConservationFile(header, true);
  EXPECT_EQ(ok.header, "dummy");
  EXPECT_TRUE(ok.headerFaults.empty());
  EXPECT_FALSE(ReadConservationFile("* K o n s e r v i e r u n g\r\n", true).headerFaults.empty());
  std::string cut = Block("TEXTSTRING", "KT_A", "a", " TEXT    'a'\r\n");
  cut.resize(cut.find("END"));
  const ConservationFile file = ReadConservationFile(cut, false);
  ASSERT_EQ(file.blocks.size(), 1u);
  EXPECT_FALSE(file.blocks[0].faults.empty());
}

TEST(ExpectedNumbers, FormatsAndTheirPairs) {
  const struct {
    std::string kind, format, value;
    std::optional<std::vector<int>> numbers;
  } cases[] = {
      {"KWB", "HEX", "41 42", std::vector<int>{65, 66}},
      {"KWB", "HEX", "0A FF 10", std::vector<int>{10, 255, 16}},
      {"KWB", "HEX", "abc", std::vector<int>{171, 12}},
      {"FKL", "HEX", "41 42", std::nullopt},
      {"KWB", "LNI", "01020", std::vector<int>{1, 2, 0}},
      {"FKL", "LNI", "0102", std::nullopt},
      {"KWB", "STR", "AB1", std::vector<int>{65, 66, 49}},
      {"FKL", "STR", "ü ", std::vector<int>{252, 32}},
      {"KWB", "", "x", std::nullopt},
      {"KWB", "HEX", "4G", std::nullopt},
  };
  for (const auto& c : cases) {
    std::string bad;
    EXPECT_EQ(ExpectedNumbers(c.kind, c.format, Utf8ToCp1252(c.value), &bad), c.numbers)
        << c.kind << " " << c.format << " " << c.value;
  }
}

TEST(ObjectStoreKind, RecordOfTheLabelCaseSensitive) {
  const std::string store =
      "x\r\n:OId=1:Kgs:Name=KT_B:STYP=ktx:MaxAnz=4;\r\n"
      ":OId=2:Art=Kgs:Name=KT_A:STYP=KWB:Anz=3;\r\n";
  EXPECT_EQ(ObjectStoreKind(store, "KT_A"), "KWB");
  EXPECT_EQ(ObjectStoreKind(store, "kt_a"), std::nullopt);
  EXPECT_EQ(ObjectStoreKind(store, "KT_C"), std::nullopt);
}

}  // namespace
}  // namespace quenda::audit
