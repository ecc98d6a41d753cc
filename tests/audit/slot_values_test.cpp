#include "audit/slot_values.h"

#include <gtest/gtest.h>

#include "audit/customer_table.h"
#include "audit/dab_audit.h"

namespace quenda::audit {
namespace {

SlotSource Slot(const std::string& kind, const std::string& format, const std::string& length) {
  return {1, "L", kind, format, length, "-", ""};
}

TEST(PrepareSlotValue, CutPadAndRecodeAtTheLength) {
  const struct {
    SlotSource slot;
    std::string value, prepared;
  } cases[] = {
      {Slot("KTX", "", "6"), "abc", "abc   "},
      {Slot("KWB", "STR", "6"), "abc", "abc   "},
      {Slot("FKL", "STR", "6"), "abc", "abc"},
      {Slot("KTX", "", "10"), "0123456789", "0123456789"},
      {Slot("KTX", "", "10"), "0123456789A", "0123456789"},
      {Slot("KWB", "lni", "3"), "123", "010203"},
      {Slot("KWB", "LNI", "3"), "12", "01020"},
      {Slot("KWB", "LNI", "3"), "1234", "010203"},
      {Slot("KWB", "HEX", "2"), "0A FF 10", "0A FF 10"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PrepareSlotValue(c.slot, c.value), c.prepared) << c.slot.format << " " << c.value;
  }
}

TEST(EvaluateSlotExpression, PartsAndRanges) {
  std::vector<std::string> values(21);
  values[1] = "ABCDEF";
  values[2] = "ABCD";
  values[3] = "1234";
  const std::pair<std::string, std::string> cases[] = {
      {"WERT(3[X])+-+WERT(2[2])", "1234-AB"},
      {"WERT(1[1,3,5])", "ACE"},
      {"WERT(1[x])", "ABCDEF"},
      {"WERT(1[6,7])", "F"},
      {" WERT(1[X])", " WERT(1[X])"},
      {"Wert(1[X])", "Wert(1[X])"},
      {"a+b+c+d+e+f+g+h+i+j+k+l", "abcdefghijk"},
      {"WERT(25[X])", ""},
  };
  for (const auto& [expression, value] : cases) {
    EXPECT_EQ(EvaluateSlotExpression(expression, values), value) << expression;
  }
}

TEST(ActualSlotValues, ExpressionSeesPreparedLowerAndRawHigherSlots) {
  const std::vector<SlotSource> slots = {
      {1, "A", "KTX", "", "4", "-", "ab"},
      {2, "B", "KTX", "", "8", "ERG=WERT(1[X])+/+WERT(3[X])", ""},
      {3, "C", "KTX", "", "3", "-", "c"},
  };
  const std::vector<std::string> values = ActualSlotValues(slots);
  EXPECT_EQ(values[1], "ab  ");
  EXPECT_EQ(values[2], "ab  /c  ");
  EXPECT_EQ(values[3], "c  ");
  EXPECT_EQ(DummySlotValue(slots[1], values[2]), "ab  /c  ");
  SlotSource literal = slots[0];
  literal.dummy = "00000";
  EXPECT_EQ(DummySlotValue(literal, values[1]), "0000");
}

TEST(ActualSlotValues, WithoutTheObjectStoreASlotKeepsItsRawValue) {
  const std::vector<SlotSource> slots = {
      {1, "A", "", "", "", "0000000000000", "0 281 020 471"},
      {2, "B", "", "", "", "ERG=WERT(1[X])", "raw"},
      {3, "C", "", "", "2", "-", "cut"},  // a length alone still cuts
  };
  const std::vector<std::string> values = ActualSlotValues(slots);
  EXPECT_EQ(values[1], "0 281 020 471");
  EXPECT_EQ(values[2], "raw");
  EXPECT_EQ(values[3], "cu");
}

TEST(CustomerTableRow, RowsByLine) {
  const std::string table = "Name;Array_Nr;Name_DAB\r\nA;1;DAB-A\r\nB\r\nC;3;X;zuviel";
  EXPECT_EQ(CustomerTableRow(table, 1), std::nullopt);
  EXPECT_EQ(CustomerTableRow(table, 2)->at("Name_DAB"), "DAB-A");
  EXPECT_EQ(CustomerTableRow(table, 3)->at("Array_Nr"), "");
  EXPECT_EQ(CustomerTableRow(table, 4)->size(), 3u);
  EXPECT_EQ(CustomerTableRow(table, 5), std::nullopt);
}

TEST(AuditDabCopy, HexLineRewrittenWhateverItsCase) {
  const std::string source = "SG = E\r\n hex-datei  = T:\\P\\dab\\P_01.hex\r\nKUN = 003\r\n";
  const std::string copy = "SG = E\r\nHEX-Datei = T:\\P\\K\\P_01.hex\r\nKUN = 003\r\n";
  AuditLog ok;
  AuditDabCopy("T:\\P\\dab\\P_01.dab", source, "T:\\P\\K\\P_01.dab", copy, "P_01", ok);
  EXPECT_EQ(ok.FindingCount(), 0);
  AuditLog changed;
  AuditDabCopy("T:\\P\\dab\\P_01.dab", source, "T:\\P\\K\\P_01.dab", copy + "X = 1\r\n", "P_01",
               changed);
  ASSERT_EQ(changed.FindingCount(), 1);
  EXPECT_EQ(changed.Entries()[0].text, "Zeile 4 ist >X = 1<, erwartet >{keine Zeile}<");
}

TEST(AuditDataVersionDab, LinesWithoutCrLfAreFound) {
  AuditLog log;
  AuditDataVersionDab("T:\\K\\P_02.dab", "A = 1\nB = 2\r\n", "A = 1\r\n", {"B = 2"}, log);
  ASSERT_EQ(log.FindingCount(), 1);
  EXPECT_EQ(log.Entries()[0].text, "Zeile 1 endet nicht mit CR LF");
}

TEST(AuditByteCopy, FirstDifferenceAndSizes) {
  AuditLog log;
  AuditByteCopy("T:\\a.hex", "abcd", "T:\\K\\a.hex", "abxd", log);
  ASSERT_EQ(log.FindingCount(), 1);
  EXPECT_EQ(log.Entries()[0].text,
            "hat 4 Bytes, die Quelle T:\\a.hex 4; erste Abweichung bei Byte 3");
}

}  // namespace
}  // namespace quenda::audit
