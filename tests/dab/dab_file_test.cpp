#include "dab/dab_file.h"

#include <gtest/gtest.h>

#include "../conservation/conservation_fixture.h"
#include "base/error.h"
#include "dab/mask.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

using testing::ConservationFixture;

std::vector<std::string> Without(std::vector<std::string> lines, std::size_t front,
                                 std::size_t back) {
  lines.erase(lines.end() - static_cast<long>(back), lines.end());
  lines.erase(lines.begin(), lines.begin() + static_cast<long>(front));
  return lines;
}

TEST(ReadDabFile, LogsChosenLinesNormalisedAndTakesValues) {
  ConservationFixture f;
  f.S().job.RunKundenGruppe = "012";
  f.WriteShare("p/PRJ_A_01.dab",
               "OSP = D:\\Proj\\Abc\\Objekt.osp\r\n"
               "PST_Text = Motor Steuerung\r\n"
               "\r\n"
               "pro = Projekt X\r\n"
               "pro_2=zwei\r\n"
               "pro_1 = eins\r\n"
               "App-Datei = C:\\Appl\\Datei A.hex\r\n"
               "ver-damos = 4.2\r\n"
               "ver-toolpac = 7\r\n"
               "ver-other = 9\r\n"
               "xyz = unbekannt\r\n"
               "Kun = Kunde  Nord \r\n"
               "PVCS-Label=L1\r\n"
               "OSP = d:\\zweite.osp\r\n"
               "dst-text\tohne gleich\r\n");
  const std::string path = "T:\\p\\PRJ_A_01.dab";
  ReadDabFile(f.S(), path);

  EXPECT_EQ(f.S().state.OspName, "d:\\zweite.osp") << "the second osp line wins";
  EXPECT_EQ(f.S().job.RunKundenGruppe, "Kunde  Nord") << "raw value keeps case and inner blanks";
  const std::vector<std::string> lines = f.LogLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines.front(), "dab-Datei T:\\p\\PRJ_A_01.dab lesen.");
  EXPECT_EQ(lines.back(), "dab-Datei T:\\p\\PRJ_A_01.dab schließen."_cp);
  const std::vector<std::string> expected = {
      "pst_text=motorsteuerung",
      "pro=projektx",
      "pro_1=eins",
      "App-Datei = C:\\Appl\\Datei A.hex",
      "ver-damos=4.2",
      "ver-toolpac=7",
      "kun=kundenord",
      "pvcs-label=l1",
      "dst-textohnegleich",
  };
  EXPECT_EQ(Without(lines, 1, 1), expected);
}

TEST(ReadDabFile, ProjectRecord50IsUnmaskedOrNull) {
  struct Case {
    std::string line, expected;
  } cases[] = {
      {"pro_50=NULL", ""},
      {"PRO_50 = " + EncodeMask("Geheim42", kMaskKey), "Geheim42"},
      {"pro_50 = 8 9b1", "AB"},  // blanks removed, lower case read as hex
  };
  for (const auto& c : cases) {
    ConservationFixture f;
    f.S().job.ProjectRecord50 = "vorher";
    f.WriteShare("x.dab", c.line + "\r\n");
    ReadDabFile(f.S(), "T:\\x.dab");
    EXPECT_EQ(f.S().job.ProjectRecord50, c.expected) << c.line;
    EXPECT_EQ(f.LogLines().size(), 2u) << c.line << ": pro_50 is not logged";
  }
}

TEST(ReadDabFile, LowerCaseNullIsUnmaskedAndFailsNamingFileAndLine) {
  ConservationFixture f;
  f.WriteShare("x.dab", "osp=a.osp\r\npro_50=null\r\n");
  try {
    ReadDabFile(f.S(), "T:\\x.dab");
    FAIL() << "pro_50=null was accepted";
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), kErrTypeMismatch);
    EXPECT_NE(e.Description().find("T:\\x.dab Zeile 2"), std::string::npos) << e.Description();
  }
  EXPECT_EQ(f.S().state.OspName, "a.osp") << "lines before the failing one took effect";
}

TEST(ReadDabFile, MissingFileRaisesThePlatformError) {
  ConservationFixture f;
  try {
    ReadDabFile(f.S(), "T:\\fehlt.dab");
    FAIL() << "a missing DAB file was read";
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), kErrFileNotFound);
    EXPECT_NE(e.Description().find("T:\\fehlt.dab"), std::string::npos) << e.Description();
  }
}

}  // namespace
}  // namespace quenda
