#include "config/config_selection.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/error.h"
#include "config/job_source.h"
#include "session/session.h"
#include "support/flow_site.h"
#include "text/cp1252.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::ConfigHeader;
using testing::ConfigRow;
using testing::DialogLog;
using testing::FieldList;
using testing::MessageJson;
using testing::SessionFixture;
using SelectionSite = testing::ConfigSite;

std::string ErrorBox(const std::string& text) {
  return MessageJson(kSelectionErrorTitle, text, 0, "OK") + "\n";
}

TEST(SelectConfiguration, CustomerSevenIsLookedUpAs007) {
  SelectionSite site;
  site.Job({{"Variante", "y"}});
  SelectConfiguration(site.S());
  EXPECT_EQ(site.Selected(), "007|ME7|002|013|005|000|001|C:\\Quenda\\cfg\\Config_013.csv|1");
  EXPECT_EQ(site.dialogs.All(), "");
  EXPECT_EQ(site.S().job.JobFilePath, "T:\\job.xml");
  EXPECT_EQ(site.S().job.RunMode, "P");
  EXPECT_EQ(site.S().env.CommandFields[0], "T:\\job.xml");
  EXPECT_EQ(site.S().job.ProgramTag, "quenda");
  EXPECT_EQ(site.S().params.At(0, ParamTable::kValue), "b");
}

TEST(SelectConfiguration, ConditionalRowWinsWhenItsFieldMatches) {
  SelectionSite site;
  site.Job({{"Variante", " x "}});
  SelectConfiguration(site.S());
  EXPECT_EQ(site.Selected(), "007|ME7|001|012|003|000|003|C:\\Quenda\\cfg\\Config_012.csv|2");
  EXPECT_EQ(site.dialogs.All(), "");
}

TEST(SelectConfiguration, StopsShowTheErrorBox) {
  struct Case {
    FieldList fields;
    std::string expected;  // the dialogs
  } cases[] = {
      {{{"Imp_CustomerCodeNumber", "8"}},
       ErrorBox("Keine Configuration C:\\Quenda\\cfg\\Config_099.csv vorhanden! 0 ")},
      {{{"Imp_CustomerCodeNumber", "9"}},
       MessageJson("Fehler", "60000 InputNode Name='T9' not found", 0, "OK") + "\n" +
           ErrorBox("Fehler, keine Info über Kunde und SG in globaler Konfiguration 0 "_cp)},
      {{{"Imp_CustomerCodeNumber", "12"}},
       ErrorBox("Fehler, keine Info über Kunde und SG in globaler Konfiguration 0 "_cp)},
      {{{"Imp_CustomerCodeNumber", " "}},
       ErrorBox("Keine Kunden-Informationen in der XML-Datei vorhanden 0 ")},
      {{{"Imp_ECU_Designation", ""}},
       ErrorBox("Keine Steuergeräte-Informationen in der XML-Datei vorhanden 0 "_cp)},
  };
  for (const auto& c : cases) {
    SelectionSite site;
    site.Job(c.fields);
    SelectConfiguration(site.S());
    EXPECT_EQ(site.dialogs.All(), c.expected) << c.fields.front().second;
    EXPECT_EQ(site.S().state.izeile, 0) << c.fields.front().second;
  }
}

TEST(SelectConfiguration, BlankBeforeTheEqualsSignBelongsToTheFieldName) {
  SelectionSite site;
  site.Job({{"Imp_CustomerCodeNumber", "10"}, {"Variante", "X"}});
  SelectConfiguration(site.S());
  const std::vector<std::string> lines = site.dialogs.Lines();
  ASSERT_EQ(lines.size(), 2u) << site.dialogs.All();
  const std::string fehler =
      "{\"kind\":\"message\",\"title\":\"Fehler\",\"text\":\"60000 Fehler beim Auslesen des "
      "XML-Tags 'FD:Field[@Name='Variante ']'";
  EXPECT_EQ(lines[0].rfind(fehler, 0), 0u) << lines[0];
  EXPECT_EQ(lines[1] + "\n",
            ErrorBox("Fehler, keine Info über Kunde und SG in globaler Konfiguration 0 "_cp));
}

TEST(SelectConfiguration, ConditionOnATableOfTheJob) {
  for (const std::string art : {"neu", "alt"}) {
    SelectionSite site;
    site.Job({{"Imp_CustomerCodeNumber", "11"}}, testing::FlowTable("Tab", {{"Art", art}}));
    SelectConfiguration(site.S());
    if (art == "neu") {
      EXPECT_EQ(site.S().job.CfgConfiguration, "013");
      EXPECT_EQ(site.dialogs.All(), "");
    } else {
      EXPECT_EQ(site.S().job.CfgConfiguration, "");
      EXPECT_EQ(site.dialogs.All(),
                ErrorBox("Fehler, keine Info über Kunde und SG in globaler Konfiguration 0 "_cp));
    }
  }
}

TEST(SelectConfiguration, ApostropheInTheCustomerCodeStaysInsideTheLiteral) {
  SelectionSite site;
  site.Job({{"Imp_CustomerCodeNumber", "O'B"}});
  SelectConfiguration(site.S());
  EXPECT_EQ(site.dialogs.All(), "");
  EXPECT_EQ(site.S().state.AktBa, "005");
}

TEST(SelectConfiguration, JobNotFromTheFlowSystemEndsTheRun) {
  SelectionSite site;
  site.Job({{"Jobsource", "OTHER"}});
  EXPECT_THROW(SelectConfiguration(site.S()), RunEnded);
  EXPECT_EQ(
      site.dialogs.All(),
      MessageJson("Abbruch", "Der Job stammt nicht aus FLOW5 oder ToolTest", 48, "OK") + "\n");
}

TEST(SelectConfiguration, JobSourceIsTrimmedAndCaseInsensitive) {
  for (const std::string source : {" flow5 ", "ToolTest"}) {
    SelectionSite site;
    site.Job({{"Jobsource", source}, {"Variante", "X"}});
    SelectConfiguration(site.S());
    EXPECT_EQ(site.S().state.izeile, 2) << source;
  }
}

TEST(SelectConfiguration, NoCommandLineShowsTheMissingJob) {
  for (const std::string line : {"", "T:\\job.xml,7,T,x"}) {
    SelectionSite site;
    site.S().env.CommandLineText = line;
    SelectConfiguration(site.S());
    EXPECT_EQ(site.dialogs.All(), ErrorBox(" 60000 Inputfile  not found")) << line;
    EXPECT_EQ(site.S().job.JobFilePath, "") << line;
    EXPECT_EQ(site.S().env.CommandFields[0], "") << line;
    EXPECT_EQ(site.S().state.izeile, 0) << line;
  }
}

TEST(SelectConfiguration, MissingConfigPathStops) {
  SelectionSite site({}, "[System]\r\nConfigPath=  \r\n[Paths]\r\nT:=share\r\n");
  SelectConfiguration(site.S());
  EXPECT_EQ(site.dialogs.All(), ErrorBox("Config-Ini konnten nicht ausgelesen werden! 0 "));
}

TEST(SelectConfiguration, TestModeUsesTheToolsShareAndWritesTheReference) {
  SelectionSite site("button OK\n");
  site.S().env.CommandLineText = "T:\\job.xml, 7 , T ";
  // Only the tools share knows customer 007 with control unit ME7 in test mode.
  site.f.dir.Write("c/Quenda/cfg/Parameter_Global.csv", "Index;Kunde;SG;Expression\r\n");
  site.Job({{"Variante", "X"}});
  SelectConfiguration(site.S());
  EXPECT_EQ(site.S().job.RunMode, "T");
  EXPECT_EQ(site.Selected(),
            "007|ME7|001|012|003|000|003|"
            "\\\\quenda-fs\\tools\\TOOLS\\Kolpator\\Data\\Config_012.csv|2");
  EXPECT_EQ(site.f.dir.Read("tools/TOOLS/Quenda/Cfg_Ref/aktcfg_012.txt"),
            "P1" + std::string(48, ' ') + "a\r\nP2" + std::string(48, ' ') + "\r\n");
  EXPECT_EQ(site.dialogs.All(),
            MessageJson("Abbruch für Herr Kranich"_cp,
                        "Hallo Ivo,\r\nan dieser Stelle bitte die Taste\r\n<Abbrechen> "
                        "betätigen.\r\n\r\nDanke für den Aufruf\r\n\r\nDein\r\nQuendale\r\n"_cp,
                        1, "OK") +
                "\n");
}

TEST(SelectConfiguration, TestModeCancelEndsTheProgram) {
  SelectionSite site("button Cancel\n");
  site.S().env.CommandLineText = "T:\\job.xml,7,T";
  site.Job({{"Variante", "X"}});
  EXPECT_EQ(testing::ExitOf([&] { SelectConfiguration(site.S()); }), kExitAborted)
      << "the program goes on";
  EXPECT_EQ(site.dialogs.Lines().size(), 1u);
  EXPECT_EQ(site.f.dir.Read("tools/TOOLS/Quenda/Cfg_Ref/aktcfg_012.txt").substr(0, 2), "P1");
}

// A rule that fails or ends the run: the reference file holds the rows computed before it,
// never an older run's file, and no temporary file is left.
TEST(SelectConfiguration, TestModeReferenceHoldsTheRowsUpToAFailure) {
  for (const std::string rule : {"ZAHL=4", "KV1={}"}) {
    SelectionSite site("button OK\n");
    site.S().env.CommandLineText = "T:\\job.xml,7,T";
    site.f.dir.Write("tools/TOOLS/Kolpator/Data/Config_012.csv",
                     ConfigHeader() + ConfigRow("P1", "*", "KV1=a") + ConfigRow("P2", "*", rule) +
                         ConfigRow("P3", "*", "KV1=c"));
    site.f.dir.Write("tools/TOOLS/Quenda/Cfg_Ref/aktcfg_012.txt", "alter Lauf\r\n");
    site.Job({{"Variante", "X"}});
    try {
      SelectConfiguration(site.S());
    } catch (const RunEnded&) {
      // the rule ended the run
    }
    EXPECT_EQ(site.f.dir.Read("tools/TOOLS/Quenda/Cfg_Ref/aktcfg_012.txt"),
              "P1" + std::string(48, ' ') + "a\r\n")
        << rule;
    std::size_t files = 0;
    for (const auto& entry :
         fs::directory_iterator(site.f.dir.Path() / "tools/TOOLS/Quenda/Cfg_Ref")) {
      files += entry.is_regular_file() ? 1 : 0;
    }
    EXPECT_EQ(files, 2u) << rule << ": readme.txt and aktcfg_012.txt, no temporary file";
  }
}

TEST(ParseCommandLine, PathAndRunMode) {
  struct Case {
    std::string line, path, mode;
  } cases[] = {
      {"", "", "unchanged"},
      {"  ", "", "unchanged"},
      {" C:\\job.xml ", "C:\\job.xml", "P"},
      {"C:\\job.xml,7", "C:\\job.xml", "P"},
      {"C:\\job.xml,7, T", "C:\\job.xml", "T"},
      {"C:\\job.xml,7,X", "C:\\job.xml", "X"},
      {"C:\\job.xml,7,T,4", "", "unchanged"},
  };
  for (const auto& c : cases) {
    SessionFixture f;
    f.S().job.RunMode = "unchanged";
    f.S().job.JobFilePath = "old";
    f.S().env.CommandLineText = c.line;
    ParseCommandLine(f.S());
    EXPECT_EQ(f.S().job.JobFilePath, c.path) << "command line >" << c.line << "<";
    EXPECT_EQ(f.S().job.RunMode, c.mode) << "command line >" << c.line << "<";
  }
}

TEST(ReadIniValue, ProfileStringOrDefault) {
  SessionFixture f;
  f.dir.Write("a.ini", "[System]\r\nConfigPath = \"C:\\x\"\r\n");
  EXPECT_EQ(ReadIniValue(f.S(), f.dir.File("a.ini"), "system", "configpath", "d"), "C:\\x");
  EXPECT_EQ(ReadIniValue(f.S(), f.dir.File("a.ini"), "System", "Other", "d"), "d");
  EXPECT_EQ(ReadIniValue(f.S(), f.dir.File("none.ini"), "System", "ConfigPath", "d"), "d");
}

TEST(ParseConfigCondition, TableFieldAndValueOrTheRunsError) {
  std::optional<Error> problem;
  const auto c = ParseConfigCondition(" DATA6.Variante =x=y ", problem);
  ASSERT_TRUE(c.has_value());
  EXPECT_EQ(c->table, "DATA6");
  EXPECT_EQ(c->field, "Variante ") << "the blank before \"=\" stays in the field name";
  EXPECT_EQ(c->expected, "x");
  for (const std::string bad : {"DATA6.Variante", "DATA6Variante=x.y"}) {
    std::optional<Error> p;
    EXPECT_FALSE(ParseConfigCondition(bad, p)) << bad;
    ASSERT_TRUE(p.has_value()) << bad;
    EXPECT_EQ(p->Number(), kErrSubscript) << bad;
  }
}

TEST(ConfigTablePath, NumberFormattedWith000) {
  EXPECT_EQ(ConfigTablePath("X\\Config_", " 12 ", ","), "X\\Config_012.csv");
  EXPECT_EQ(ConfigTablePath("X\\Config_", "A1", ","), "X\\Config_A1.csv");
}

}  // namespace
}  // namespace quenda
