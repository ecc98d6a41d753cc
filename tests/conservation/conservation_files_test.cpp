#include "conservation/conservation_files.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "conservation/conservation_fixture.h"
#include "conservation/object_store.h"
#include "session/param_table.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

using testing::ConservationFixture;

struct SlotRow {
  std::string arrayNr, label, format, dummy, value;
};

void FillParams(Session& s, const std::vector<SlotRow>& rows) {
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    const SlotRow& r = rows[static_cast<std::size_t>(i)];
    s.params.At(i, ParamTable::kName) = "Par" + std::to_string(i);
    s.params.At(i, ParamTable::kArrayNr) = r.arrayNr;
    s.params.At(i, ParamTable::kLabel) = r.label;
    s.params.At(i, ParamTable::kFormat) = r.format;
    s.params.At(i, ParamTable::kDummy) = r.dummy;
    s.params.At(i, ParamTable::kValue) = r.value;
  }
  s.state.izeile = static_cast<int>(rows.size()) - 1;
  FillSpecTable(s.spec, s.params, s.state.izeile);
}

std::string Expected(const std::string& name) {
  ConservationFixture reader;
  return reader.S().files.ReadAll(std::string(QUENDA_TEST_DATA) + "/conservation/family/" + name);
}

// Twenty slots of every kind and format, configured as the parameter table gives them.
const std::vector<SlotRow> kFamily = {
    {"1", "KT_HWNR", "", "0000000000", "0261S04711"},
    {"2", "KT_SWNR", "", "-", "1037A"},
    {"", "DataVersion", "", "", "02"},  // a parameter without slot
    {"3", "KW_ID", "str", "ERG=WERT(1[4])+-+WERT(2[1,2])", "ID"},
    {"4", "KW_HEX", "HEX", "00 00 00 00", "0A FF 10 7"},
    {"5", "KW_STR", "STR", "", "AB1"},
    {"6", "KW_LNI", "LNI", "-", "123"},
    {"7", "KW_LNI2", "LNI", "999", "12"},
    {"8", "FK_HEX", "HEX", "000000", "0102FF"},
    {"9", "FK_STR", "STR", "-", "xyz"},
    {"10", "FK_LNI", "LNI", "-", "45"},
    {"11", "KT_LANG", "", "-", "ABCDEFGHIJKL"},
    {"12", "KT_DUMMY", "", "0000", "echt"},
    {"13", "KT_ERG", "", "ERG=WERT(12[X])+/+WERT(14[3])", "unbenutzt"},
    {"14", "KW_ERG", "HEX", "ERG=WERT(15[2])+WERT(16[X])", "ignoriert"},
    {"15", "KT_LIT", "", "LANGDUMMY", "AB"},
    {"16", "KW_HEX2", "hex", "-", "c0de"},
    {"17", "FK_PLAIN", "", "-", "1234"},
    {"18", "KW_PLAIN", "DEC", "-", "77"},
    {"19", "KT_SONDER", "", "-",
     "Gr\xf6\xdf"
     "e & 'x'"},
    {"20", "KW_VIELE", "STR", "ERG=WERT(20[7])+WERT(19[1,2,3])", "ABCDEFGHIJKLMNO"},
};

class ConservationFamily : public ::testing::Test {
 protected:
  void SetUp() override {
    f.WriteShare("proj/kunde/objects.osp", Expected("objects.osp"));
    FillParams(f.S(), kFamily);
    f.S().state.OspName = "t:\\proj\\kunde\\objects.osp";
    LoadObjectStore(f.S());
  }
  ConservationFixture f;
  std::string dabPath = "T:\\proj\\kunde\\PRJ_A_01.dab";
  std::string dabNew = "PRJ_A_02.dab";
};

TEST_F(ConservationFamily, TuningReleaseWritesSixFilesByteForByte) {
  f.S().job.FlgTuningS = "1";
  f.S().env.CommandFields[2] = "0";
  const std::string folder = WriteConservationFiles(f.S(), dabPath, dabNew);

  EXPECT_EQ(folder, "T:\\proj\\kunde") << "the result is the DAB file's folder";
  for (const char* suffix : {"s", "n", "o", "g", "a", "t"}) {
    const std::string name = std::string("PRJ_A_02") + suffix + ".kon";
    EXPECT_EQ(f.ReadShare("proj/kunde/" + name), Expected(name)) << name;
  }
}

TEST_F(ConservationFamily, OverlongValuesAreReportedOncePerPass) {
  WriteConservationFiles(f.S(), dabPath, dabNew);
  const std::string dialogs = f.Dialogs();
  EXPECT_TRUE(
      f.Showed("Der Wert für KT_LANG = ABCDEFGHIJKL\r\nist im DAMOS-OSP nur mit 10 "
               "definiert!\r\n\r\nKT_LANG wird in der weiteren Bearbeitung auf diese "
               "Länge gekürzt!"_cp))
      << dialogs;
  EXPECT_TRUE(f.Showed("Der Wert für KT_LIT = LANGDUMMY\r\nist im DAMOS-OSP nur mit 4 "_cp))
      << dialogs;
  EXPECT_EQ(std::count(dialogs.begin(), dialogs.end(), '\n'), 2) << dialogs;
  EXPECT_NE(dialogs.find("\"title\":\"Fehler\""), std::string::npos) << dialogs;
  EXPECT_EQ(f.S().spec.At(11).Value, "ABCDEFGHIJ") << "the actual pass stores the cut value";
  EXPECT_EQ(f.S().spec.At(6).Value, "010203") << "the actual pass stores the LNI code";
  EXPECT_EQ(f.S().spec.At(3).Value, "0261-10 ") << "the actual pass stores the expression";
}

TEST_F(ConservationFamily, WithoutTuningAndVariantSwitchVariantFilesAreEmpty) {
  f.S().job.FlgTuningS = "0";
  f.S().env.CommandFields[2] = "";
  WriteConservationFiles(f.S(), dabPath, dabNew);
  EXPECT_EQ(f.ReadShare("proj/kunde/PRJ_A_02s.kon"), Expected("PRJ_A_02s.kon"));
  EXPECT_EQ(f.ReadShare("proj/kunde/PRJ_A_02o.kon"), "");
  EXPECT_EQ(f.ReadShare("proj/kunde/PRJ_A_02g.kon"), "");
  EXPECT_TRUE(f.ShareHas("proj/kunde/PRJ_A_02o.kon"));
  EXPECT_FALSE(f.ShareHas("proj/kunde/PRJ_A_02a.kon"));
  EXPECT_FALSE(f.ShareHas("proj/kunde/PRJ_A_02t.kon"));
}

TEST_F(ConservationFamily, VariantGWithoutTuningHasNoHexName) {
  f.S().job.FlgTuningS = "";
  f.S().env.CommandFields[2] = "0";
  WriteConservationFiles(f.S(), dabPath, dabNew);
  EXPECT_EQ(f.ReadShare("proj/kunde/PRJ_A_02g.kon"), Expected("PRJ_A_02t.kon"));
}

// A variant file needs slots 1 to 3 although the value files may end before: a
// configuration of one slot ends the run in order when the identification blocks are
// written, also in BatchMode, naming the slot and the file, and the file is not written.
TEST_F(ConservationFamily, UndefinedIdentificationSlotEndsTheRunNamingSlotAndFile) {
  f.S().env.CommandFields = {"job.xml", "", "0", "", ""};  // BatchMode, variant blocks
  for (int i = 2; i < SpecTable::kSlots; ++i) f.S().spec.At(i) = SpecSlot{};
  f.S().spec.SpecCount = 1;
  EXPECT_EQ(testing::ExitOf([&] { WriteConservationFiles(f.S(), dabPath, dabNew); }), 1);
  const std::string message =
      "Konservierungsdatei T:\\proj\\kunde\\PRJ_A_02o.kon: Slot 2 ist nicht belegt, der "
      "Identifikationsblock kann nicht geschrieben werden";
  EXPECT_EQ(f.ErrorFileText(), message);
  EXPECT_FALSE(f.ShareHas("proj/kunde/PRJ_A_02o.kon"));
  EXPECT_EQ(f.Dialogs(), "") << "no stop box in BatchMode";
}

}  // namespace
}  // namespace quenda
