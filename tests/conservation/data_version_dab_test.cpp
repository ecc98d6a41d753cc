// The DAB file of a data version and the names derived from it, down to the conservation
// files; with the cases a run cannot carry out, which end it in order.
#include "conservation/data_version_dab.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "conservation/conservation_files.h"
#include "conservation_fixture.h"
#include "support/fake_system.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

using testing::ConservationFixture;
using testing::ExitOf;

const std::string kBase = "PRO = PRJ_A\r\nKUN = 003\r\n";

class DataVersionDab : public ::testing::Test {
 protected:
  void SetUp() override {
    f.WriteShare("proj/kunde/PRJ_A_01.dab", kBase);
    Param("DataVersion", "02");
    Param("ApplPathName", "T:\\appl");
    Param("ApplFileName", "appl.hex");
    Param("SoftwareName", "SW_1");
    Param("PST_Kennung_Variant", "V2");
    Param("Kennung", "K7", "KENN");
    Param("Leer", "", "LEER");
  }
  void Param(const std::string& name, const std::string& value, const std::string& nameDab = {}) {
    Session& s = f.S();
    const int row = s.state.izeile++;
    s.params.At(row, ParamTable::kName) = name;
    s.params.At(row, ParamTable::kValue) = value;
    s.params.At(row, ParamTable::kNameDab) = nameDab;
  }
  void SetValue(const std::string& name, const std::string& value) {
    for (int row = 0; row < f.S().state.izeile; ++row) {
      if (f.S().params.At(row, ParamTable::kName) == name) {
        f.S().params.At(row, ParamTable::kValue) = value;
      }
    }
  }
  ConservationFixture f;
  const std::string base = "T:\\proj\\kunde\\PRJ_A_01.dab";
};

TEST_F(DataVersionDab, CopiesTheBaseWithParameterAndNameLines) {
  EXPECT_TRUE(AppendDabFile(f.S(), base));
  EXPECT_EQ(f.S().state.DabNewName, "PRJ_A_02.dab");
  EXPECT_EQ(f.ReadShare("proj/kunde/PRJ_A_02.dab"),
            kBase +
                "KENN = K7\r\nLEER = NULL\r\nAPP-Datei = T:\\appl\\appl.hex\r\n"
                "KON-Datei = T:\\proj\\kunde\\PRJ_A_02.kon\r\nDST-Text = 02\r\n"
                "EPK-DST = SW_1\r\nPST-Text = V2\r\n");
  EXPECT_EQ(f.ReadShare("proj/kunde/PRJ_A_01.dab"), kBase) << "the base stays";
}

TEST_F(DataVersionDab, JapTakesTheLastTwoCharactersOfTheVersionAndNoVariantNoPstLine) {
  f.S().job.RunKundenGruppe = "JAP";
  SetValue("DataVersion", "2024A7");
  SetValue("PST_Kennung_Variant", "");
  EXPECT_TRUE(AppendDabFile(f.S(), base));
  EXPECT_EQ(f.S().state.DabNewName, "PRJ_A_A7.dab");
  const std::string written = f.ReadShare("proj/kunde/PRJ_A_A7.dab");
  EXPECT_NE(written.find("KON-Datei = T:\\proj\\kunde\\PRJ_A_A7.kon\r\nDST-Text = A7\r\n"),
            std::string::npos)
      << written;
  EXPECT_EQ(written.find("PST-Text"), std::string::npos) << written;
  EXPECT_EQ(written.substr(written.size() - 16), "EPK-DST = SW_1\r\n");
}

TEST_F(DataVersionDab, BaseThatCarriesTheVersionIsRefusedWithoutWriting) {
  SetValue("DataVersion", "01");
  EXPECT_FALSE(AppendDabFile(f.S(), base));
  EXPECT_EQ(f.S().state.DabNewName, "PRJ_A_01.dab");
  EXPECT_TRUE(
      f.Showed("Für die Bearbeitung von Datenstand = 01\r\nkann nicht die Basis von\r\n"
               "T:\\proj\\kunde\\PRJ_A_01.dab\r\ngewählt werden!"_cp))
      << f.Dialogs();
  EXPECT_EQ(f.ReadShare("proj/kunde/PRJ_A_01.dab"), kBase);
}

// What the run cannot derive ends it through ErrorEnd, naming the file or the value.
TEST_F(DataVersionDab, BaseNameShorterThanSixCharactersEndsTheRun) {
  f.WriteShare("proj/kunde/A.dab", kBase);
  EXPECT_EQ(ExitOf([&] { AppendDabFile(f.S(), "T:\\proj\\kunde\\A.dab"); }), 1);
  EXPECT_EQ(f.ErrorFileText(),
            "Der Dateiname >A.dab< von T:\\proj\\kunde\\A.dab ist kürzer als 6 Zeichen, der "
            "Datenstand kann nicht eingesetzt werden"_cp);
}

TEST_F(DataVersionDab, JapVersionShorterThanTwoCharactersEndsTheRun) {
  f.S().job.RunKundenGruppe = "JAP";
  SetValue("DataVersion", "7");
  EXPECT_EQ(ExitOf([&] { AppendDabFile(f.S(), base); }), 1);
  EXPECT_EQ(f.ErrorFileText(), "Datenstand >7< hat weniger als 2 Zeichen (Kundengruppe JAP)");
  EXPECT_FALSE(f.ShareHas("proj/kunde/PRJ_A_7.dab"));
}

// The conservation files are named by DabNewName up to its first dot.
TEST_F(DataVersionDab, ConservationNamesComeFromTheNewNameUpToItsFirstDot) {
  const std::pair<std::string, std::string> cases[] = {
      {"PRJ_A_02", "PRJ_A_02s.kon"},
      {"PRJ.A.02.dab", "PRJs.kon"},
  };
  for (const auto& [newName, file] : cases) {
    ConservationFixture g;
    const std::string dabPath = "T:\\proj\\kunde\\" + newName;
    std::filesystem::create_directories(g.dir.Path() / "share" / "proj" / "kunde");
    EXPECT_EQ(WriteConservationFiles(g.S(), dabPath, newName), "T:\\proj\\kunde") << newName;
    EXPECT_TRUE(g.ShareHas("proj/kunde/" + file)) << newName;
  }
}

}  // namespace
}  // namespace quenda
