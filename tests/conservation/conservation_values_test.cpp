#include "conservation/conservation_values.h"

#include <gtest/gtest.h>

#include "conservation/conservation_block.h"

namespace quenda {
namespace {

std::string Text(const ConservationFile& file) {
  std::string text;
  for (const std::string& line : file.lines) text += line + "\r\n";
  return text;
}

TEST(ConservationValues, BlocksAsWrittenAreReadBack) {
  ConservationFile file;
  file.WriteLine("* K o n s e r v i e r u n g");
  WriteTextstring(file, "KT_SWNR", "1037 '54' ");
  file.WriteLine("FESTWERTEBLOCK KW_IDENT");
  for (const std::string& line : ValueLines({48, 50, 56, 49, 45, 49, 48, 51})) file.WriteLine(line);
  file.WriteLine("END");
  file.WriteLine("FESTKENNLINIE FK_LEER");
  for (const std::string& line : ValueLines({})) file.WriteLine(line);
  file.WriteLine("END");
  const std::vector<ConservationValue> values = ReadConservationValues(Text(file));
  ASSERT_EQ(values.size(), 3u) << Text(file);
  EXPECT_EQ(values[0].label, "KT_SWNR");
  EXPECT_EQ(values[0].kind, "KTX");
  EXPECT_EQ(values[0].value, "1037 '54' ");
  EXPECT_EQ(values[1].kind, "KWB");
  EXPECT_EQ(values[1].value, "48 50 56 49 45 49 48 51");
  EXPECT_EQ(values[2].kind, "FKL");
  EXPECT_EQ(values[2].value, "");
}

TEST(ConservationValues, OnlyValuesThatDifferAreChanges) {
  const std::string before =
      "* alt\r\nTEXTSTRING KT_A\r\n TEXT    'eins'\r\nEND\r\n\r\nTEXTSTRING KT_B\r\n"
      " TEXT    'zwei'\r\nEND\r\nFESTWERTEBLOCK KW_C\r\n   WERT\t1\t2\t\r\nEND\r\n";
  // Another comment, other blank lines, KT_A the same, KT_B changed, KW_C gone, KT_D new.
  const std::string after =
      "* neu\r\n\r\n\r\nTEXTSTRING KT_A\r\n TEXT    'eins'\r\nEND\r\nTEXTSTRING KT_B\r\n"
      " TEXT    'drei'\r\nEND\r\nTEXTSTRING KT_D\r\n TEXT    'vier'\r\nEND\r\n";
  const std::vector<ValueChange> changes =
      CompareConservationValues(ReadConservationValues(before), ReadConservationValues(after));
  ASSERT_EQ(changes.size(), 3u);
  const struct {
    std::string label;
    std::optional<std::string> before, after;
  } expected[] = {
      {"KT_B", "zwei", "drei"}, {"KT_D", std::nullopt, "vier"}, {"KW_C", "1 2", std::nullopt}};
  for (std::size_t i = 0; i < changes.size(); ++i) {
    EXPECT_EQ(changes[i].label, expected[i].label) << i;
    EXPECT_EQ(changes[i].before, expected[i].before) << changes[i].label;
    EXPECT_EQ(changes[i].after, expected[i].after) << changes[i].label;
  }
  EXPECT_TRUE(
      CompareConservationValues(ReadConservationValues(before), ReadConservationValues(before))
          .empty());
}

}  // namespace
}  // namespace quenda
