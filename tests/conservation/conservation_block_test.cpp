#include "conservation/conservation_block.h"

#include <gtest/gtest.h>

#include "conservation/conservation_fixture.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

using testing::ConservationFixture;
using Lines = std::vector<std::string>;

// The lines between a block's header line and its "END".
Lines Body(const Lines& block) {
  if (block.size() < 6) return {"block too short"};
  return Lines(block.begin() + 4, block.end() - 2);
}

TEST(ConservationBlock, FestwerteblockHexExample) {
  ConservationFixture f;
  ConservationFile file{"T:\\k.kon", {}};
  WriteConservationBlock(f.S(), file, "KW_TEST", "0A FF 10", "KWB", "HEX");
  const Lines expected = {"",
                          "* Konserve für KW_TEST mit Wert >0A FF 10<"_cp,
                          "",
                          "FESTWERTEBLOCK KW_TEST",
                          "   WERT\t10\t255\t16\t",
                          "END",
                          ""};
  EXPECT_EQ(file.lines, expected);
}

TEST(ConservationBlock, TextstringKeepsValueUnescaped) {
  ConservationFile file{"T:\\k.kon", {}};
  WriteTextstring(file, "KT_SW", "it's  ");
  const Lines expected = {"",
                          "* Konserve für KT_SW mit Wert >it's  <"_cp,
                          "",
                          "TEXTSTRING KT_SW",
                          " TEXT    'it's  '",
                          "END",
                          ""};
  EXPECT_EQ(file.lines, expected);
}

TEST(ConservationBlock, ValueNumbersByKindAndFormat) {
  struct Case {
    std::string kind, format, value;
    Lines body;
  } cases[] = {
      {"KWB", "STR", "AB1", {"   WERT\t65\t66\t49\t"}},
      {"FKL", "STR", "A \xe4", {"   WERT\t65\t32\t228\t"}},
      {"KWB", "HEX", "41 42", {"   WERT\t65\t66\t"}},
      {"KWB", "HEX", "a\tb7", {"   WERT\t171\t7\t"}},
      {"FKL", "HEX", "0aFF7", {"   WERT\t10\t255\t7\t"}},
      {"KWB", "LNI", "010203", {"   WERT\t1\t2\t3\t"}},
      {"KWB", "LNI", "01020", {"   WERT\t1\t2\t0\t"}},
      {"KWB", "HEX", "", {"   WERT\t"}},
      {"KWB",
       "STR",
       "ABCDEFGHIJKLMN",
       {"   WERT\t65\t66\t67\t68\t69\t70\t71\t", "   WERT\t72\t73\t74\t75\t76\t77\t78\t"}},
      {"FKL",
       "STR",
       "ABCDEFGHIJKLMNO",
       {"   WERT\t65\t66\t67\t68\t69\t70\t71\t", "   WERT\t72\t73\t74\t75\t76\t77\t78\t",
        "   WERT\t79\t"}},
  };
  for (const auto& c : cases) {
    ConservationFixture f;
    ConservationFile file{"T:\\k.kon", {}};
    WriteConservationBlock(f.S(), file, "L", c.value, c.kind, c.format);
    EXPECT_EQ(Body(file.lines), c.body) << c.kind << " " << c.format << " >" << c.value << "<";
    EXPECT_EQ(file.lines[1], "* Konserve für L mit Wert >"_cp + c.value + "<")
        << "line 2 shows the value as received";
  }
}

TEST(ConservationBlock, FestwerteblockHexRemovesBlanksFromCallersValue) {
  ConservationFixture f;
  ConservationFile file{"T:\\k.kon", {}};
  std::string value = "41 42";
  WriteFestwerteblock(f.S(), file, "L", value, "HEX");
  EXPECT_EQ(value, "4142");
}

// Such a block used to repeat the last value line of an earlier block: another object's
// values in this object's block.
TEST(ConservationBlock, UnreadFormatGetsEmptyValueLineNotAnEarlierBlocksValues) {
  struct Case {
    std::string kind, format;
  } cases[] = {{"FKL", "LNI"}, {"KWB", "hex"}, {"FKL", ""}, {"KWB", "ASCII"}};
  for (const auto& c : cases) {
    ConservationFixture f;
    ConservationFile file{"T:\\k.kon", {}};
    WriteConservationBlock(f.S(), file, "VORHER", "0102", c.kind, "HEX");
    WriteConservationBlock(f.S(), file, "DANACH", "0304", c.kind, c.format);
    const Lines second(file.lines.begin() + 7, file.lines.end());
    EXPECT_EQ(Body(second), Lines{"   WERT\t"}) << c.kind << " format >" << c.format << "<";
    const std::string block = c.kind == "KWB" ? "FESTWERTEBLOCK" : "FESTKENNLINIE";
    EXPECT_EQ(f.LogLines().back(), block + " DANACH: Format >" + c.format +
                                       "< wird nicht unterstützt, der Block bleibt ohne Werte"_cp);
  }
}

TEST(ConservationBlock, PairThatIsNotHexEndsRunNamingFileLabelAndPair) {
  struct Case {
    std::string kind, value, pair;
  } cases[] = {{"FKL", "41 42", " 4"}, {"KWB", "4G", "4G"}, {"FKL", "12x", "x"}};
  for (const auto& c : cases) {
    ConservationFixture f;
    ConservationFile file{"T:\\p\\k.kon", {}};
    EXPECT_THROW(WriteConservationBlock(f.S(), file, "KL_X", c.value, c.kind, "HEX"), RunEnded)
        << c.value;
    EXPECT_EQ(f.ErrorFileText(), "Konservierungsdatei T:\\p\\k.kon, Objekt KL_X: >" + c.pair +
                                     "< im Wert >" + c.value + "< ist keine Hexadezimalzahl")
        << c.kind << " >" << c.value << "<";
  }
}

TEST(ConservationBlock, UnknownKindEndsRun) {
  ConservationFixture f;
  ConservationFile file{"T:\\k.kon", {}};
  EXPECT_THROW(WriteConservationBlock(f.S(), file, "L", "v", "KXX", "STR"), RunEnded);
  EXPECT_TRUE(f.Showed("KgrType = KXX noch nicht berücksichtigt!"_cp)) << f.Dialogs();
  EXPECT_NE(f.Dialogs().find("\"style\":272"), std::string::npos) << "empty style: stop box";
  EXPECT_TRUE(file.lines.empty());
}

TEST(ValueLines, SevenNumbersToALine) {
  EXPECT_EQ(ValueLines({}), Lines{"   WERT\t"});
  EXPECT_EQ(ValueLines({1, 2, 3, 4, 5, 6, 7}), Lines{"   WERT\t1\t2\t3\t4\t5\t6\t7\t"});
  EXPECT_EQ(ValueLines({1, 2, 3, 4, 5, 6, 7, 8}),
            (Lines{"   WERT\t1\t2\t3\t4\t5\t6\t7\t", "   WERT\t8\t"}));
}

}  // namespace
}  // namespace quenda
