// quenda --check-config run as its users run it: on the sample site, on a copy with faults
// written into its tables, and with a wrong option or an unreadable Config.ini.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>
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

// Writes the faults of the broken site into the sample site `s`.
void Break(SampleSite& s) {
  s.Edit(kGlobalTable, "Imp_Variante=PROTO", "Imp_Variante PROTO");
  s.Edit(kGlobalTable, "2;047;EDC21;;001;012;046;001;003", "2;047;EDC21;;001;012;046;001;003;x");
  s.Edit(kGlobalTable, "3;047;MED9;;001;013", "3;047;MED9;;001;019");
  s.Edit(kConfig012, "[@Name='Imp_BaseDAB']}", "[@Name='Imp_BaseDAB']}}");
  s.Edit(kConfig012, "KT_DATENSTAND;4;", "KT_DATENSTAND;21;");
  s.Edit(kConfig012, "KV1={", "KVX={");
  s.Edit(kConfig012, "Werke.csv,CustomerCode,1", "Werke.csv,SwTTNR,1");
  s.Edit(kConfig012, "Listen\\SecurityAccess.csv", "Listen\\Sicherheit.csv");
}

TEST(ConfigCheckE2e, EachFaultOfABrokenSiteIsNamedWithFileAndLine) {
  SampleSite s;
  Break(s);
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
      "7 Fehler, 1 Warnung\n";
  const RunResult r = Check(s);
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(WithoutCr(r.out), expected);
}

// The SARIF log of the broken site holds what the schema requires of a log, a run, a
// rule and a result, and one result per line of the text findings, with the same status.
TEST(ConfigCheckE2e, SarifLogMatchesTheTextFindings) {
  SampleSite s;
  Break(s);
  s.Edit(kConfig012, "KW_DATUM;12;STR;00000000;;ADDS", "KW_DATUM;;12;STR;00000000;ADDS");
  const RunResult text = Check(s);
  const RunResult sarif =
      RunQuenda({"--check-config", "--format", "sarif", "--program-dir", s.Path("site/program")},
                s.Path("run"));
  EXPECT_EQ(sarif.status, text.status) << sarif.err;
  EXPECT_EQ(sarif.status, 1);
  const auto log = nlohmann::json::parse(sarif.out);
  EXPECT_EQ(log.at("version"), "2.1.0");
  ASSERT_EQ(log.at("runs").size(), 1u);
  const auto& run = log.at("runs")[0];
  EXPECT_EQ(run.at("tool").at("driver").at("name"), "quenda");
  const auto& rules = run.at("tool").at("driver").at("rules");
  std::set<std::string> ids;
  for (const auto& rule : rules) {
    EXPECT_FALSE(rule.at("shortDescription").at("text").get<std::string>().empty()) << rule;
    EXPECT_TRUE(ids.insert(rule.at("id").get<std::string>()).second) << "twice: " << rule;
  }
  std::string lines;
  for (const auto& result : run.at("results")) {
    const std::string& id = result.at("ruleId").get_ref<const std::string&>();
    EXPECT_EQ(rules.at(result.at("ruleIndex").get<std::size_t>()).at("id"), id) << result;
    const std::string level = result.at("level") == "error" ? "Fehler" : "Warnung";
    EXPECT_TRUE(result.at("level") == "error" || result.at("level") == "warning") << result;
    const auto& place = result.at("locations").at(0).at("physicalLocation");
    const std::string uri = place.at("artifactLocation").at("uri");
    const std::string table = uri.substr(uri.rfind('/') + 1);
    EXPECT_TRUE(uri.starts_with("file://") && uri.ends_with("/TOOLS/Kolpator/Data/" + table))
        << uri;
    lines += "\\\\quenda-fs\\tools\\TOOLS\\Kolpator\\Data\\" + table + ":" +
             std::to_string(place.at("region").at("startLine").get<int>()) + ": " + level + ": " +
             result.at("message").at("text").get<std::string>() + "\n";
  }
  const std::string textOut = WithoutCr(text.out);
  EXPECT_EQ(lines, textOut.substr(0, textOut.rfind("7 Fehler")));
  EXPECT_NE(lines.find("Config_012.csv:24: Warnung: Label >KW_DATUM< ohne Array_Nr"),
            std::string::npos)
      << lines;
}

TEST(ConfigCheckE2e, WrongOptionOrUnreadableConfigIniGivesStatus2) {
  SampleSite s;
  const RunResult headless = RunQuenda(
      {"--check-config", "--headless", "--program-dir", s.Path("site/program")}, s.Path("run"));
  EXPECT_EQ(headless.status, 2) << headless.out;
  EXPECT_NE(headless.err.find("--check-config"), std::string::npos) << headless.err;
  const RunResult report = RunQuenda(
      {"--check-config", "--report", s.Path("run/x.json"), "--program-dir", s.Path("site/program")},
      s.Path("run"));
  EXPECT_EQ(report.status, 2) << report.out;
  EXPECT_EQ(report.out, "");
  EXPECT_FALSE(s.Has("run/x.json"));

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
