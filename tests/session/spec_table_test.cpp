#include "session/spec_table.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "session/param_table.h"

namespace quenda {
namespace {

struct Row {
  std::string name, label, arrayNr, format, dummy, value;
};

ParamTable TableOf(const std::vector<Row>& rows) {
  ParamTable t;
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    const Row& r = rows[static_cast<std::size_t>(i)];
    t.At(i, ParamTable::kName) = r.name;
    t.At(i, ParamTable::kLabel) = r.label;
    t.At(i, ParamTable::kArrayNr) = r.arrayNr;
    t.At(i, ParamTable::kFormat) = r.format;
    t.At(i, ParamTable::kDummy) = r.dummy;
    t.At(i, ParamTable::kValue) = r.value;
  }
  return t;
}

TEST(FillSpecTable, RowsWithArrayNrFillTheirSlots) {
  const ParamTable t = TableOf({
      {"SwName", "KT_SW", "3", "STR", "", "SW1"},
      {"Ohne", "KT_NO", "", "HEX", "x", "nie"},
      {"HwName", "KT_HW", "1", "HEX", "0000", "0A0B"},
      {"Neu", "KT_NEU", "3", "LNI", "ERG=WERT(1[X])", "neu"},
  });
  SpecTable spec;
  spec.SpecCount = 9;
  FillSpecTable(spec, t, 3);

  EXPECT_EQ(spec.SpecCount, 3);
  const SpecSlot& one = spec.At(1);
  EXPECT_EQ(one.Label, "KT_HW");
  EXPECT_EQ(one.SlotNo, "1");
  EXPECT_EQ(one.Format, "HEX");
  EXPECT_EQ(one.Dummy, "0000");
  EXPECT_EQ(one.Value, "0A0B");
  EXPECT_EQ(spec.At(2).Label, "") << "a skipped slot stays empty";
  EXPECT_EQ(spec.At(3).Label, "KT_NEU") << "a later row with the same Array_Nr wins";
  EXPECT_EQ(spec.At(3).Dummy, "ERG=WERT(1[X])");
}

TEST(FillSpecTable, EmptyDummyBecomesDashAndRowCountBoundsTheScan) {
  const ParamTable t = TableOf({{"A", "KA", "2", "STR", "", "a"}, {"B", "KB", "5", "", "", "b"}});
  SpecTable spec;
  FillSpecTable(spec, t, 0);
  EXPECT_EQ(spec.At(2).Dummy, "-");
  EXPECT_EQ(spec.SpecCount, 2) << "row 1 lies beyond the row count 0";
  EXPECT_EQ(spec.At(5).Label, "");
}

TEST(FillSpecTable, BadArrayNrRaisesErrorNamingParameter) {
  struct Case {
    std::string arrayNr;
    int number;
  } cases[] = {{"21", kErrSubscript},
               {"-1", kErrSubscript},
               {"zwei", kErrTypeMismatch},
               {"1.5", kErrTypeMismatch}};
  for (const auto& c : cases) {
    SpecTable spec;
    try {
      FillSpecTable(spec, TableOf({{"ParX", "L", c.arrayNr, "", "", ""}}), 0);
      ADD_FAILURE() << "Array_Nr " << c.arrayNr << " accepted";
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), c.number) << c.arrayNr;
      EXPECT_NE(e.Description().find("ParX"), std::string::npos) << e.Description();
      EXPECT_NE(e.Description().find(c.arrayNr), std::string::npos) << e.Description();
    }
  }
}

TEST(WholeNumber, AcceptsSignedDigitsWithBlanksOnly) {
  struct Case {
    std::string text;
    std::optional<int> expected;
  } cases[] = {{"20", 20},
               {" 7\t", 7},
               {"+3", 3},
               {"-4", -4},
               {"", std::nullopt},
               {"x", std::nullopt},
               {"1,3", std::nullopt},
               {"12a", std::nullopt},
               {"1234567890", std::nullopt},
               {"-", std::nullopt}};
  for (const auto& c : cases) {
    EXPECT_EQ(WholeNumber(c.text), c.expected) << ">" << c.text << "<";
  }
}

}  // namespace
}  // namespace quenda
