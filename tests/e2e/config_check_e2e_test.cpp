// quenda --check-config run as its users run it: on the sample site, on a copy with faults
// written into its tables, and with a wrong option or an unreadable Config.ini.
#include <gtest/gtest.h>

#include <string>

#include "support/sample_site.h"

namespace quenda {
namespace {

using testing::kConfig012;
using testing::kGlobalTable;
using testing::RunQuenda;
using testing::RunResult;
using testing::SampleSite;

std::string WithoutCr(std::string text) {
  std::erase(text, '\r');
  return text;
}

RunResult Check(const SampleSite& s, const std::string& programDir = "site/program") {
  return RunQuenda({"--check-config", "--program-dir", s.Path(programDir)}, s.Path("run"));
}

TEST(ConfigCheckE2e, SampleSiteChecksClean) {
  SampleSite s;
  const RunResult r = Check(s);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(WithoutCr(r.out), "0 Fehler, 0 Warnungen\n");
}

TEST(ConfigCheckE2e, EachFaultOfABrokenSiteIsNamedWithFileAndLine) {
  SampleSite s;
  s.Edit(kGlobalTable, "Imp_Variante=PROTO", "Imp_Variante PROTO");
  s.Edit(kGlobalTable, "2;047;EDC21;;001;012;046;001;003", "2;047;EDC21;;001;012;046;001;003;x");
  s.Edit(kGlobalTable, "3;047;MED9;;001;013", "3;047;MED9;;001;019");
  s.Edit(kConfig012, "[@Name='Imp_BaseDAB']}", "[@Name='Imp_BaseDAB']}}");
  s.Edit(kConfig012, "KT_DATENSTAND;4;", "KT_DATENSTAND;21;");
  s.Edit(kConfig012, "KV1={", "KVX={");
  s.Edit(kConfig012, "Werke.csv,CustomerCode,1", "Werke.csv,SwTTNR,1");
  s.Edit(kConfig012, "Listen\\SecurityAccess.csv", "Listen\\Sicherheit.csv");
  const std::string data = "\\\\quenda-fs\\tools\\TOOLS\\Kolpator\\Data\\";
  const std::string g = data + "Parameter_Global.csv:";
  const std::string c = data + "Config_012.csv:";
  const std::string expected =
      g +
      "2: Fehler: Expression >DATA6.Imp_Variante PROTO< hat kein \"=\"; ein Lauf meldet "
      "\"Fehler\" und wählt keine Zeile\n" +
      g +
      "3: Fehler: Die Zeile passt nicht zur Kopfzeile: 10 Felder, aber nur 9 Spalten; ein "
      "Lauf bricht beim Einlesen der Tabelle ab\n" +
      g + "4: Fehler: Keine Configuration " + data + "Config_019.csv vorhanden!\n" + c +
      "5: Fehler: Platzhalter mit \"}\" ohne \"{\" davor in der Regel "
      ">ADDS={//FD:Envelope[@Name='FromFlow']/FD:Fields/FD:Field[@Name='Imp_BaseDAB']}}<\n" +
      c + "6: Fehler: Array_Nr 21 des Parameters DataVersion liegt nicht zwischen 0 und 20\n" + c +
      "7: Fehler: Funktion = KVX nicht bekannt\n" + c +
      "14: Warnung: GET liest den Parameter >SwTTNR<, der erst in Zeile 18 berechnet wird: "
      "sein Wert ist hier noch leer\n" +
      c +
      "15: Fehler: Die Listendatei >\\\\quenda-fs\\tools\\TOOLS\\Quenda\\Listen\\Sicherheit.csv< "
      "der Regel >XXX={Werkskennung für SecurityAccess,\\\\quenda-fs\\tools\\TOOLS\\Quenda\\"
      "Listen\\Sicherheit.csv,0}< gibt es nicht\n" +
      "7 Fehler, 1 Warnungen\n";
  const RunResult r = Check(s);
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(WithoutCr(r.out), expected);
}

TEST(ConfigCheckE2e, WrongOptionOrUnreadableConfigIniGivesStatus2) {
  SampleSite s;
  const RunResult headless = RunQuenda(
      {"--check-config", "--headless", "--program-dir", s.Path("site/program")}, s.Path("run"));
  EXPECT_EQ(headless.status, 2) << headless.out;
  EXPECT_NE(headless.err.find("--check-config"), std::string::npos) << headless.err;

  const RunResult noIni = Check(s, "run");
  EXPECT_EQ(noIni.status, 2) << noIni.out;
  EXPECT_NE(noIni.err.find("Config.ini kann nicht gelesen werden"), std::string::npos) << noIni.err;

  s.Edit("site/program/Config.ini", "ConfigPath=", "Pfad=");
  const RunResult noPath = Check(s);
  EXPECT_EQ(noPath.status, 2) << noPath.out;
  EXPECT_NE(noPath.err.find("Config-Ini konnten nicht ausgelesen werden!"), std::string::npos)
      << noPath.err;
  EXPECT_EQ(noPath.out, "");
}

}  // namespace
}  // namespace quenda
