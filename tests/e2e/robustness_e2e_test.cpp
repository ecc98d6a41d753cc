// The bad-input catalogue (docs/robustness.md): every input the system reads, broken in
// the ways people and tools break it. Each case runs the built program headless on a copy
// of the sample site and must end in order: not successfully, with a German message that
// names the file or value, with the run log in the current folder, without a half-written
// file, and with the job file untouched unless the run got as far as writing it back.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>

#include "dab/mask.h"
#include "support/sample_site.h"
#include "text/cp1252.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::kConfig012;
using testing::kCustomerFolder;
using testing::kGlobalTable;
using testing::kJob;
using testing::kProject;
using testing::kTarvell;
using testing::LeftoverTemporaryFiles;
using testing::SampleSite;

using Answers = std::vector<std::string>;
using Arrange = std::function<void(SampleSite&)>;

// The questions of loading the sample job (INP and its check, GET, XXX), then of the
// collection batch (patch code, append).
const Answers kLoad = {"text V2", "button Yes", "button OK", "text GRB", "button OK"};
const Answers kAll = {"text V2",   "button Yes", "button OK", "text GRB",
                      "button OK", "text 12",    "button Yes"};
const std::string kCommandLine = SampleSite::SampleCommandLine();

struct BadInput {
  const char* name;
  Arrange arrange;
  Answers answers;
  std::string message;  // CP1252, found in a dialog or in the run log
  bool jobWrittenBack = false;
  std::string commandLine = kCommandLine;
  std::function<void(const SampleSite&)> check = nullptr;  // what else the case leaves
};

// Test names and failure reports show the case's name rather than its bytes.
void PrintTo(const BadInput& c, std::ostream* os) { *os << c.name; }

const std::string kListen = "site/shares/tools/TOOLS/Quenda/Listen/";
const std::string kOsp = std::string(kProject) + "makeout/Damos/MX21K47_01.osp";
const std::string kDab = std::string(kProject) + "dab/MX21K47_01.dab";
const std::string kIni = "site/program/Config.ini";
const std::string kConfigHeader =
    "Field1_Name_XML;Description;Quenda;CNT;Label;Array_Nr;Format;Dummy;Name_DAB;Rule;"
    "Required_for_CNT;Required_for_Quenda;XML_Optional\r\n";
const std::string kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

Arrange Replace(std::string file, std::string from, std::string to) {
  return [=](SampleSite& s) { s.Edit(file, from, to); };
}
Arrange WriteFile(std::string file, std::string bytes) {
  return [=](SampleSite& s) { s.Write(file, bytes); };
}
Arrange RemoveFile(std::string file) {
  return [=](SampleSite& s) { s.Remove(file); };
}
Arrange ReadOnly(std::string file, std::string bytes) {
  return [=](SampleSite& s) {
    s.Write(file, bytes);
    fs::permissions(s.Path(file), fs::perms::owner_read | fs::perms::group_read,
                    fs::perm_options::replace);
  };
}

// A value with a double quote cannot be written into a batch file: the run ends before
// the collection batch is touched and says why in the error file for the calling batch system.
void NoBatchWritten(const SampleSite& s, const std::string& message) {
  EXPECT_EQ(s.Read(kTarvell), SampleSite().Read(kTarvell)) << "Tarvell.Bat unchanged";
  EXPECT_EQ(s.Read("tmp/SG_4711.err").rfind(message, 0), 0u) << s.Read("tmp/SG_4711.err");
}

// A refused name or value ends the run before any folder or file of the release exists;
// the error file for the calling batch system begins with `message`.
void NoReleaseWritten(const SampleSite& s, const std::string& message) {
  std::string folder = kCustomerFolder;
  folder.pop_back();
  EXPECT_FALSE(s.Has(folder)) << "no customer folder";
  for (const auto& e : fs::recursive_directory_iterator(s.dir.Path())) {
    EXPECT_EQ(e.path().filename().string().find("ESCAPED"), std::string::npos) << e.path();
    EXPECT_NE(e.path().extension(), ".kon") << e.path();
    EXPECT_NE(e.path().filename(), "MX21K47_02.dab") << e.path();
  }
  NoBatchWritten(s, message);
}

void NothingCreated(const SampleSite& s) { NoReleaseWritten(s, "Der Name >"); }

std::function<void(const SampleSite&)> NothingCreatedFor(std::string message) {
  return [=](const SampleSite& s) { NoReleaseWritten(s, message); };
}

// A job of tens of thousands of fields whose customer hardware number, the name of the
// customer folder, is longer than any file name may be.
void HugeJob(SampleSite& s) {
  std::string fields;
  for (int i = 0; i < 40000; ++i) {
    fields += "<FD:Field Name=\"Extra" + std::to_string(i) + "\">Wert " + std::to_string(i) +
              "</FD:Field>\r\n";
  }
  s.Edit(kJob, ">0 281 020 471<", ">" + std::string(300, 'H') + "<");
  s.Edit(kJob, "<FD:Field Name=\"Customer_plant_index\"",
         fields + "<FD:Field Name=\"Customer_plant_index\"");
}

std::vector<BadInput> Catalogue() {
  const std::string cfg = kConfig012;
  const std::string global = kGlobalTable;
  const std::string job = kJob;
  const std::string jobRule =
      "ADDS={//FD:Envelope[@Name='FromFlow']/FD:Fields/FD:Field[@Name='JobNumber']}";
  const std::string ident = "ERG=WERT(1[1,3,4,5])+-+WERT(2[4])";
  const std::string configPath = "ConfigPath=\\\\quenda-fs\\tools\\TOOLS\\Kolpator\\Data";
  const std::string sample = "2;047;EDC21;;001;012;046;001;003";
  const std::string osp = "STYP=KTX:Grp=Kgs:Name=KT_HWNR:MaxAnz=14:";
  return {
      // The command line.
      {"CommandLineWithFourFields",
       nullptr,
       {"button Cancel"},
       "Inputfile  not found",
       false,
       "T:\\a.xml,1,P,x"},
      {"CommandLineJobMissing",
       nullptr,
       {},
       "Inputfile T:\\003\\Flow\\Transfer\\fehlt.xml not found",
       false,
       "T:\\003\\Flow\\Transfer\\fehlt.xml,\"J|1|0\""},
      {"CommandLineJobOnUnmappedDrive",
       nullptr,
       {},
       "Inputfile X:\\job.xml not found",
       false,
       "X:\\job.xml,\"J|1|0\""},
      // Config.ini.
      {"ConfigIniWithoutSystemAndPaths",
       WriteFile(
           kIni,
           "[Site]\r\nTempDir=../../tmp\r\nWindowsDir=../../win\r\nProfileDir=../../home\r\n"),
       {},
       "Inputfile T:\\003\\Flow\\Transfer\\Job_4711.xml not found"},
      {"ConfigIniWithoutConfigPath",
       Replace(kIni, configPath + "\r\n", ""),
       {},
       "Config-Ini konnten nicht ausgelesen werden!"},
      {"ConfigPathOnUnknownDrive",
       Replace(kIni, configPath, "ConfigPath=Q:\\Daten"),
       {},
       "File not found : Q:\\Daten\\Parameter_Global.csv"},
      // The global parameter table.
      {"GlobalTableMissing",
       RemoveFile(global),
       {},
       "File not found : \\\\quenda-fs\\tools\\TOOLS\\Kolpator\\Data\\Parameter_Global.csv"},
      {"GlobalTableEmpty", WriteFile(global, ""), {}, "File empty : \\\\quenda-fs\\tools"},
      {"GlobalTableHeaderOnly",
       WriteFile(global,
                 "Index;Kunde;SG;Expression;ba;Configuration;ToolVersion;Kolpatoren;"
                 "KundenGruppe\r\n"),
       {},
       "Fehler, keine Info über Kunde und SG in globaler Konfiguration"_cp},
      {"GlobalTableMoreFieldsThanHeader",
       Replace(global, sample, sample + ";x"),
       {},
       "Zeile 3: 10 Felder, aber nur 9 Spalten (\\\\quenda-fs\\tools\\TOOLS\\Kolpator\\Data\\"
       "Parameter_Global.csv)"},
      {"GlobalTableWithoutExpressionColumn",
       Replace(global, "Expression", "Ausdruck"),
       {},
       "Unbekannte Spalte >Expression<"},
      {"GlobalTableWithoutTheCustomer",
       [](SampleSite& s) {
         s.Edit(kGlobalTable, "1;047", "1;048");
         s.Edit(kGlobalTable, "2;047", "2;048");
       },
       {},
       "Fehler, keine Info über Kunde und SG in globaler Konfiguration"_cp},
      {"GlobalTableExpressionWithoutTableAndValue",
       Replace(global, "DATA6.Imp_Variante=PROTO", "Imp_Variante"),
       {},
       "Expression >Imp_Variante< hat nicht die Form Tabelle.Feld=Wert"},
      // The customer configuration table.
      {"CustomerTableMissing",
       RemoveFile(cfg),
       {},
       "Keine Configuration \\\\quenda-fs\\tools\\TOOLS\\Kolpator\\Data\\Config_012.csv "
       "vorhanden!"},
      {"CustomerTableEmpty", WriteFile(cfg, ""), {}, "File empty : \\\\quenda-fs\\tools"},
      {"CustomerTableHeaderOnly",
       WriteFile(cfg, kConfigHeader),
       {},
       "Fehler, bei der Bearbeitung ohne Kolpatoren muss der File \"ReleaseVersionFilePath\" "
       "übergeben werden!"_cp},
      {"CustomerTableMoreFieldsThanHeader",
       Replace(cfg, ";*;*;\r\nCustomerCode", ";*;*;;x\r\nCustomerCode"),
       {},
       "Zeile 2: 14 Felder, aber nur 13 Spalten"},
      {"CustomerTableWithoutRuleColumn",
       Replace(cfg, ";Rule;", ";Regel;"),
       {},
       "Die Spalte >Rule< gibt es nicht"},
      {"RuleWithClosingBraceFirst",
       Replace(cfg, jobRule, "ADDS=x}y"),
       {},
       "Platzhalter mit \"}\" ohne \"{\" davor in der Regel >ADDS=x}y<"},
      {"RuleWithBrokenQuery", Replace(cfg, jobRule, "ADDS={//FD:[[}"), {}, "Argument(s) : //FD:[["},
      {"RuleWithUnknownFunction",
       Replace(cfg, jobRule, "ZAHL=4"),
       {},
       "Funktion = ZAHL nicht bekannt"},
      {"MarkNotAStarLeavesTheDabPathEmpty",
       Replace(cfg, "IntegrationDABFile;DAB-Datei des Basisstands;*;",
               "IntegrationDABFile;DAB-Datei des Basisstands;**;"),
       kLoad, "Kein  angegeben!", true},
      // List files.
      {"ListFileMissing",
       RemoveFile(kListen + "Werke.csv"),
       {"text V2", "button Yes"},
       "Datei nicht gefunden: \\\\quenda-fs\\tools\\TOOLS\\Quenda\\Listen\\Werke.csv"},
      {"ListFileWithoutTheKey",
       Replace(kListen + "Werke.csv", "47;", "48;"),
       {"text V2", "button Yes"},
       "Kein Wert für \"47\" bekannt!!"_cp},
      {"ListLineTooShort",
       WriteFile(kListen + "Werke.csv", "47\r\n"),
       {"text V2", "button Yes", "button OK"},
       "Die Zeile >47< in \\\\quenda-fs\\tools\\TOOLS\\Quenda\\Listen\\Werke.csv hat kein Feld 1!"},
      {"SecurityListLineTooShort", WriteFile(kListen + "SecurityAccess.csv", "GRB;12\r\n"), kLoad,
       "SecurityAccess.csv hat kein Feld 3!"},
      {"SecurityListMissing",
       RemoveFile(kListen + "SecurityAccess.csv"),
       {"text V2", "button Yes", "button OK", "text GRB"},
       "Datei nicht gefunden: \\\\quenda-fs\\tools\\TOOLS\\Quenda\\Listen\\SecurityAccess.csv"},
      // The job file.
      {"JobNotXml",
       WriteFile(job, "Das ist kein XML"),
       {},
       "Zeile 1, Spalte 1: Das Dokument ist nicht wohlgeformt (Start tag expected, '<' not found)"},
      {"JobTruncated",
       [](SampleSite& s) { s.Write(kJob, s.Read(kJob).substr(0, 900)); },
       {},
       "Der Job T:\\003\\Flow\\Transfer\\Job_4711.xml kann nicht gelesen werden: Zeile 14"},
      {"JobInAnotherNamespace",
       Replace(job, "http://flow.quenda.local/namespace/FlowData", "http://example.org/other"),
       {},
       "Fehler beim Auslesen des XML-Tags 'FD:Field[@Name= 'Jobsource']'"},
      {"JobWithoutFromFlow",
       Replace(job, "Name=\"FromFlow\"", "Name=\"VonFlow\""),
       {},
       "InputNode Envelope Name='FromFlow' not found"},
      {"JobWithoutToFlow", Replace(job, "Name=\"ToFlow\"", "Name=\"ZuFlow\""), kLoad,
       "Envelope 'ToFlow' not found.", true},
      {"JobWithoutControlUnit",
       Replace(job, "Name=\"Imp_ECU_Designation\"", "Name=\"Imp_ECU\""),
       {},
       "Argument(s) : //FD:Envelope[@Name='FromFlow']//FD:Field[@Name='Imp_ECU_Designation']"},
      {"JobFromAnotherSource",
       Replace(job, ">FLOW5<", ">MANUELL<"),
       {},
       "Der Job stammt nicht aus FLOW5 oder ToolTest"},
      {"JobWithExternalEntity",
       Replace(job, kXmlHead,
               kXmlHead +
                   "<!DOCTYPE FD:FlowData [<!ENTITY geheim SYSTEM \"file:///etc/passwd\">]>\r\n"),
       {},
       "Entitätsdeklaration 'geheim' ist nicht erlaubt"_cp},
      {"JobWithEntityBomb",
       Replace(job, kXmlHead,
               kXmlHead + "<!DOCTYPE x [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;"
                          "&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">]>\r\n"),
       {},
       "Entitätsdeklaration 'a' ist nicht erlaubt"_cp},
      {"JobVeryLargeWithOverlongFolderName", HugeJob, kLoad, "Der Pfad T:\\EDC21\\MX21K47\\HHHH",
       true, kCommandLine, NothingCreatedFor("Der Pfad T:\\EDC21\\MX21K47\\HHHH")},
      // The DAB file.
      {"DabFileMissing", RemoveFile(kDab), kLoad,
       "Kein T:\\EDC21\\MX21K47\\dab\\MX21K47_01.dab vorhanden!", true},
      {"DabProjectValueNotHex", Replace(kDab, "PRO_50 = 98C1B6A7AFC1A49F", "PRO_50 = 98C1ZZ"),
       kLoad, "dab-Datei T:\\EDC21\\MX21K47\\dab\\MX21K47_01.dab Zeile 7: pro_50 = 98C1ZZ", true},
      {"DabWithoutObjectStore",
       Replace(kDab, "OSP-Datei = T:\\EDC21\\MX21K47\\makeout\\Damos\\MX21K47_01.osp\r\n", ""),
       kLoad, "Keine OSP-Datei in der dab-Datei T:\\EDC21\\MX21K47\\dab\\MX21K47_01.dab angegeben!",
       true},
      // The object store.
      {"ObjectStoreMissing", RemoveFile(kOsp), kLoad,
       "Objektspeicher t:\\edc21\\mx21k47\\makeout\\damos\\mx21k47_01.osp kann nicht gelesen "
       "werden",
       true},
      {"ObjectStoreUnreadable",
       [](SampleSite& s) {
         s.Remove(kOsp);
         fs::create_directories(s.Path(kOsp));
       },
       kLoad,
       "Fehler beim Zugriff auf Pfad/Datei: t:\\edc21\\mx21k47\\makeout\\damos\\mx21k47_01.osp "
       "ist keine gewöhnliche Datei"_cp,
       true},
      {"ObjectStoreRecordWithoutLength", Replace(kOsp, osp, "STYP=KTX:Grp=Kgs:Name=KT_HWNR:"),
       kLoad, "Objekt KT_HWNR: Attribut :MaxAnz= fehlt im Eintrag", true},
      {"ObjectStoreLengthNotANumber",
       Replace(kOsp, osp, "STYP=KTX:Grp=Kgs:Name=KT_HWNR:MaxAnz=vierzehn:"), kLoad,
       "Objekt KT_HWNR: Attribut :MaxAnz= >vierzehn< ist keine gültige Länge"_cp, true},
      {"ObjectStoreTextLengthZero", Replace(kOsp, osp, "STYP=KTX:Grp=Kgs:Name=KT_HWNR:MaxAnz=1:"),
       kLoad, "Objekt KT_HWNR: Attribut :MaxAnz= >1< ist keine gültige Länge"_cp, true},
      {"ObjectStoreBlockLengthZero",
       Replace(kOsp,
               "STYP=KWB:Grp=Kgs:Name=KW_IDENT:Anz=10:", "STYP=KWB:Grp=Kgs:Name=KW_IDENT:Anz=0:"),
       kLoad, "Objekt KW_IDENT: Attribut :Anz= >0< ist keine gültige Länge"_cp, true},
      {"ObjectStoreUnknownKind",
       Replace(kOsp, "STYP=KTX:Grp=Kgs:Name=KT_HWNR", "STYP=KLI:Grp=Kgs:Name=KT_HWNR"), kLoad,
       "Kenngrössenart = STYP=KLI unbekannt"_cp, true},
      {"ObjectStoreWithoutTheObject", Replace(kOsp, "Name=KT_HWNR:", "Name=KT_HWNRX:"), kLoad,
       "Eindeutige Selektion von Spezifikation für KT_HWNR aus DAMOS-OSP nicht möglich!"_cp, true},
      // Conservation values.
      {"HexValueNotHex", Replace(job, ">0102<", ">01G2<"), kLoad,
       "MX21K47_02s.kon, Objekt KW_VERSION: >G2< im Wert >01G2< ist keine Hexadezimalzahl", true},
      {"SlotNumberOutOfRange", Replace(cfg, "KT_AUFTRAG;20;", "KT_AUFTRAG;25;"), kAll,
       "Array_Nr 25 des Parameters JobNumber liegt nicht zwischen 0 und 20", true},
      {"ExpressionNamesSlotOutOfRange", Replace(cfg, ident, "ERG=WERT(99[1])"), kLoad,
       "Ausdruck >WERT(99[1])< von KW_IDENT: Verweis >WERT(99[1])< nennt den Slot >99<", true},
      {"ExpressionWithoutRange", Replace(cfg, ident, "ERG=WERT(1)"), kLoad,
       "Verweis >WERT(1)< hat kein \"[\"", true},
      // The environment.
      {"JobFileReadOnly",
       [](SampleSite& s) {
         fs::permissions(s.Path(kJob), fs::perms::owner_read | fs::perms::group_read,
                         fs::perm_options::replace);
       },
       kLoad,
       "Der Job T:\\003\\Flow\\Transfer\\Job_4711.xml kann nicht zur\xFC"
       "ckgeschrieben werden: "
       "Zugriff verweigert: T:\\003\\Flow\\Transfer\\Job_4711.xml"},
      {"ListValueWithQuoteForReleaseBatch",
       Replace(kListen + "SecurityAccess.csv",
               "4711AB;Gr\xF6"
               "bming;07",
               "4711AB;Gr\xF6"
               "bming;07\"&echo.INJ>pwned.txt&\""),
       kLoad,
       "Der Wert f\xFCr IndexECUM enth\xE4lt ein Anf\xFChrungszeichen und kann nicht in "
       "ParaSerie.bat geschrieben werden: >07\"&echo.INJ>pwned.txt&\"<",
       true, kCommandLine,
       [](const SampleSite& s) {
         EXPECT_FALSE(s.Has(std::string(kCustomerFolder) + "ParaSerie.bat"));
         NoBatchWritten(s, "Der Wert f\xFCr IndexECUM");
       }},
      {"DabProjectValueWithQuoteForCollectionBatch",
       Replace(kDab, "PRO_50 = 98C1B6A7AFC1A49F",
               "PRO_50 = " + EncodeMask("x\"&echo INJ>pwned.txt&\"", kMaskKey)),
       kAll,
       "Der Wert f\xFCr pro_50 enth\xE4lt ein Anf\xFChrungszeichen und kann nicht in Tarvell.Bat "
       "geschrieben werden: >x\"&echo INJ>pwned.txt&\"<",
       true, kCommandLine,
       [](const SampleSite& s) { NoBatchWritten(s, "Der Wert f\xFCr pro_50"); }},
      {"CollectionBatchFolderMissing", RemoveFile("site/shares/u/Freigaben"), kAll,
       "Keine Directory U:\\Freigaben\\ vorhanden!", true},
      {"CustomerFolderTargetReadOnly",
       ReadOnly(std::string(kCustomerFolder) + "MX21K47_01.dab", "alt"), kLoad,
       "Zugriff verweigert: T:\\EDC21\\MX21K47\\0281020471\\MX21K47_01.dab", true},
      {"ConservationFileReadOnly",
       ReadOnly(std::string(kCustomerFolder) + "MX21K47_02n.kon", "alt"), kLoad,
       "MX21K47_02n.kon kann nicht geschrieben werden: Zugriff verweigert", true},
      {"CustomerFolderIsAFile",
       [](SampleSite& s) {
         std::string folder = kCustomerFolder;
         folder.pop_back();
         s.Write(folder, "kein Ordner");
       },
       kLoad, "Datei existiert bereits: T:\\EDC21\\MX21K47\\0281020471", true},
      // A value that reaches cmd through %KolpVers% in the call line.
      {"ToolVersionWithCommand",
       Replace(global, sample, "2;047;EDC21;;001;012;046&echo INJ>pwned.txt&rem;001;003"), kLoad,
       "Der Wert f\xFCr KolpVers enth\xE4lt ein Zeichen, das in einer Befehlszeile wirkt", true,
       kCommandLine,
       [](const SampleSite& s) {
         EXPECT_FALSE(s.Has(std::string(kCustomerFolder) + "ParaSerie.bat"));
         NoBatchWritten(s, "Der Wert f\xFCr KolpVers");
       }},
      // Names from the job that would reach out of their folder: refused before anything is
      // created, so nothing lands outside the project share (nor inside it).
      {"CustomerFolderNameClimbsOutOfTheShare",
       Replace(job, ">0 281 020 471<", ">..\\..\\..\\ESCAPED<"), kLoad,
       "Der Name >..\\..\\..\\ESCAPED< aus CustomerHWNo_DirName ist kein g\xFCltiger Datei- "
       "oder Ordnername",
       true, kCommandLine, NothingCreated},
      {"DataVersionWithSeparator", Replace(job, ">DS02<", ">DS\\x<"), kLoad,
       "Der Name >\\x< aus DataVersion ist kein g\xFCltiger Datei- oder Ordnername", true,
       kCommandLine, NothingCreated},
      {"DataVersionWithDot", Replace(job, ">DS02<", ">DS1.2<"), kLoad,
       "Der Name >.2< aus DataVersion ist kein g\xFCltiger Datei- oder Ordnername: er enth\xE4lt "
       "einen Punkt",
       true, kCommandLine, NothingCreated},
      {"CustomerNameWithLineFeedForgesADabLine",
       Replace(job, "Motorenwerke<", "Motorenwerke&#10;HEX-Datei = \\\\evil\\share\\evil.hex<"),
       kLoad,
       "Der Wert von KundeName enth\xE4lt einen Zeilenumbruch (Code 10) und kann nicht in "
       "T:\\EDC21\\MX21K47\\0281020471\\MX21K47_02.dab geschrieben werden: >M\xFCller "
       "Motorenwerke{10}HEX-Datei = \\\\evil\\share\\evil.hex<",
       true, kCommandLine, NothingCreatedFor("Der Wert von KundeName")},
      {"CustomerFolderNameIsADevice", Replace(job, ">0 281 020 471<", ">CON<"), kLoad,
       "Der Name >CON< aus CustomerHWNo_DirName ist kein g\xFCltiger Datei- oder Ordnername: er "
       "ist ein Ger\xE4tename",
       true, kCommandLine, NothingCreated},
  };
}

// The dialogs of the transcript as CP1252 text (JSON escapes undone).
std::string DialogText(const std::string& transcript) {
  std::string out;
  for (std::size_t i = 0; i < transcript.size(); ++i) {
    if (transcript[i] != '\\' || i + 1 == transcript.size()) {
      out += transcript[i];
      continue;
    }
    const char next = transcript[++i];
    out += next == 'r' ? '\r' : next == 'n' ? '\n' : next == 't' ? '\t' : next;
  }
  return Utf8ToCp1252(out);
}

class Robustness : public ::testing::TestWithParam<BadInput> {};

TEST_P(Robustness, EndsInOrderWithAMessageNamingTheInput) {
  const BadInput& c = GetParam();
  SampleSite s;
  if (c.arrange) c.arrange(s);
  const std::string jobBefore = s.Read(kJob);
  const auto r = s.Run(c.answers, c.commandLine);
  EXPECT_EQ(r.status, 1) << "not 0 (success) and not 3 (a question left unanswered)\n" << r.err;
  const std::string seen =
      DialogText(s.Read("run/dialogs.jsonl")) + "\n" + s.Read("run/RizaZizi.log");
  EXPECT_NE(seen.find(c.message), std::string::npos)
      << "expected >" << Cp1252ToUtf8(c.message) << "<\n"
      << Cp1252ToUtf8(seen);
  EXPECT_TRUE(s.Has("run/RizaZizi.log")) << "the run log is in the current folder";
  if (c.check) c.check(s);
  EXPECT_EQ(LeftoverTemporaryFiles(s.dir.Path()), std::vector<std::string>{});
  if (!c.jobWrittenBack) {
    EXPECT_EQ(s.Read(kJob), jobBefore) << "the job file is untouched";
  }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, Robustness, ::testing::ValuesIn(Catalogue()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quenda
