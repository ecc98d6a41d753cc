// The built program runs the sample job headless on copies of the sample site, each case
// varying the site; outputs are compared byte for byte with examples/qualify/expected.
#include <gtest/gtest.h>

#include <functional>

#include "support/sample_site.h"
#include "text/cp1252.h"
#include "ui/transcript.h"

namespace quenda {
namespace {

using testing::ExpectedE2e;
using testing::kConfig012;
using testing::kCustomerFolder;
using testing::kGlobalTable;
using testing::kJob;
using testing::kProject;
using testing::kTarvell;
using testing::SampleSite;

using Answers = std::vector<std::string>;

// The questions of loading the sample job: INP with its confirmation, GET, XXX.
const Answers kLoad = {"text V2", "button Yes", "button OK", "text GRB", "button OK"};

Answers Plus(Answers a, const Answers& more) {
  a.insert(a.end(), more.begin(), more.end());
  return a;
}

std::string Crlf(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

std::string Customer(const std::string& file) { return kCustomerFolder + file; }
std::string Project(const std::string& file) { return kProject + file; }

const std::string kEntry =
    "Tarvell.exe \"T:\\EDC21\\MX21K47\\0281020471\\MX21K47_02.dab||12|003|PRJ-MX21\"";

void WithoutSeriesTools(SampleSite& s) {
  s.Edit(kGlobalTable, "2;047;EDC21;;001;012;046;001;003", "2;047;EDC21;;001;012;046;000;003");
}

// Customer group 021: the release folder also gets the integration and application files.
void Group021(SampleSite& s, const std::string& swmida) {
  s.Edit(kGlobalTable, "046;001;003\r\n3;", "046;001;021\r\n3;");
  s.Edit(Project("dab/MX21K47_01.dab"), "KUN = 003", "KUN = 021");
  std::string rows;
  for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
           {"IntegrationPathName", "T:\\EDC21\\MX21K47\\integration"},
           {"IntegrationFileName", "MX21K47_I05.s19"},
           {"SWMIEX", "A&B"},
           {"SWMIDA", swmida},
           {"SWMIDA1", "D1"},
           {"SWMIDA2", "D2"},
           {"SWMIDA3", ""},
           {"SWMIIN", "IN_5%"},
           {"SoftwarePartNumber", "1037541234"},
           {"HardwarePartNumber", "0281020471"}}) {
    rows += name + ";Kundengruppe 021;*;;;;;;;ADDS='" + value + "';;;\r\n";
  }
  s.Write(kConfig012, s.Read(kConfig012) + rows);
  s.Write(Project("integration/MX21K47_I05.s19"), "S00600004844521B\r\n");
  s.Write(Project("integration/MX21K47_I05.dcm"), "KONSERVIERUNG_FORMAT 2.0\r\n");
}

struct RunCase {
  const char* name;
  std::function<void(SampleSite&)> arrange;
  Answers answers;
  int status;
  std::vector<std::pair<std::string, std::string>> files = {};  // site path, expected bytes
  std::vector<std::string> dialogs = {};                        // texts shown (CP1252)
  std::vector<std::string> absent = {};                         // site paths not written
  std::string lastLogLine = {};                                 // CP1252, when not empty
  std::string commandLine = SampleSite::SampleCommandLine();
};

std::string Road(const std::string& name) { return ExpectedE2e("road/" + name); }

void Check(const RunCase& c, SampleSite& s, const testing::RunResult& r) {
  EXPECT_EQ(r.status, c.status) << c.name << "\n" << r.err;
  for (const auto& [path, bytes] : c.files)
    EXPECT_EQ(s.Read(path), bytes) << c.name << ": " << path;
  const std::string dialogs = s.Read("run/dialogs.jsonl");
  for (const std::string& text : c.dialogs) {
    const std::string json = JsonString(text);
    EXPECT_NE(dialogs.find(json.substr(1, json.size() - 2)), std::string::npos)
        << c.name << ": no dialog " << json << "\n"
        << dialogs;
  }
  for (const std::string& path : c.absent) EXPECT_FALSE(s.Has(path)) << c.name << ": " << path;
  EXPECT_TRUE(s.Has("run/RizaZizi.log")) << c.name << ": the log is in the current folder";
  EXPECT_FALSE(s.Has("tmp/RizaZizi.log")) << c.name;
  if (!c.lastLogLine.empty()) {
    const std::string log = s.Read("run/RizaZizi.log");
    EXPECT_TRUE(log.ends_with("\r\n" + c.lastLogLine + "\r\n")) << c.name << "\n" << log;
  }
}

TEST(RunE2e, SampleRoadWritesEveryFileByteForByte) {
  SampleSite s;
  const auto r = s.Run(SampleSite::SampleAnswers());
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char* f :
       {"MX21K47_01.dab", "MX21K47_02.dab", "MX21K47_02s.kon", "MX21K47_02n.kon", "MX21K47_02o.kon",
        "MX21K47_02g.kon", "MX21K47_02a.kon", "MX21K47_02t.kon", "ParaSerie.bat"}) {
    EXPECT_EQ(s.Read(Customer(f)), Road(f)) << f;
  }
  EXPECT_EQ(s.Read(Customer("MX21K47_01.hex")), s.Read(Project("dab/MX21K47_01.hex")));
  EXPECT_EQ(s.Read(Customer("MX21K47_01.dam")), s.Read(Project("dab/MX21K47_01.dam")));
  EXPECT_EQ(s.Read(kTarvell), Road("Tarvell.Bat"));
  EXPECT_EQ(s.PortableLog(), Road("RizaZizi.log"));
  EXPECT_FALSE(s.Has("tmp/RizaZizi.log"));
  EXPECT_EQ(s.Read("home/xx.txt"), "Job_4711|4711|0\r\n");
  const std::string job = s.Read(kJob);
  const std::string index = "<FD:Field Name=\"Customer_plant_index\" FlowType=\"String\">07<";
  const std::size_t toFlow = job.find("<FD:Envelope Name=\"ToFlow\">");
  EXPECT_LT(job.find(index), toFlow) << "the plant index is written into FromFlow\n" << job;
  EXPECT_NE(job.find(index, toFlow), std::string::npos) << "and into ToFlow\n" << job;
  EXPECT_NE(r.out.find("dam-File T:\\EDC21\\MX21K47\\0281020471\\MX21K47_01.dam ist kopiert!"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.err.find("[Meldung \"Fertig\"] Quenda ist beendet! -> OK"), std::string::npos)
      << r.err;
}

TEST(RunE2e, VariedSitesEndAsConfigured) {
  const std::string original = SampleSite().Read(kTarvell);
  const Answers sample = SampleSite::SampleAnswers();
  const std::string hinweisCustomer =
      "Batchfile -> T:\\EDC21\\MX21K47\\0281020471\\ParaSerie.bat angelegt!";
  const std::string hinweisFreigabe =
      "Batchfile -> T:\\EDC21\\MX21K47\\Freigabe\\ParaSerie.bat angelegt!";
  const std::string noFolder = "Keine Directory U:\\Freigaben\\ vorhanden!";
  const std::string ende = "Bearbeitung wurde abgebrochen";
  const std::vector<RunCase> cases = {
      {"TarvellNo",
       nullptr,
       Plus(kLoad, {"text 12", "button No"}),
       0,
       {{kTarvell, Crlf({kEntry})}}},
      {"TarvellCancel",
       nullptr,
       Plus(kLoad, {"text 12", "button Cancel"}),
       0,
       {{kTarvell, original}},
       {"Quenda ist beendet!"}},
      {"TarvellFileNew",
       [](SampleSite& s) { s.Remove(kTarvell); },
       Plus(kLoad, {"text 12"}),
       0,
       {{kTarvell, Crlf({kEntry})}}},
      {"TarvellFolderMissing",
       [](SampleSite& s) { s.Remove("site/shares/u/Freigaben"); },
       Plus(kLoad, {"text 12"}),
       1,
       {{"tmp/SG_4711.err", Crlf({noFolder})}},
       {noFolder},
       {kTarvell},
       "!! Abbruch !! " + noFolder},
      {"TarvellFolderMissingInteractive",
       [](SampleSite& s) { s.Remove("site/shares/u/Freigaben"); },
       Plus(kLoad, {"text 12"}),
       1,
       {{"tmp/SG_.err", Crlf({noFolder})}},
       {noFolder, "Keine Angabe!!!"},
       {},
       {},
       "T:\\003\\Flow\\Transfer\\Job_4711.xml,\"\""},
      {"PatchCodeWithQuoteIsAskedAgain",
       nullptr,
       Plus(kLoad, {"text 1\"2", "text 12", "button Yes"}),
       0,
       {{kTarvell, Road("Tarvell.Bat")}},
       {"Die Kennziffer darf kein Anführungszeichen enthalten!"_cp}},
      {"EmptyPatchCodeOpensTheEditorAndAsksAgain",
       [](SampleSite& s) {
         s.Edit("site/program/Config.ini", "[Site]\r\n", "[Site]\r\nEditor=\"true \"\r\n");
       },
       Plus(kLoad, {"text ", "text 12", "button Yes"}),
       0,
       {{kTarvell, Road("Tarvell.Bat")}}},
      {"WithoutSeriesTools",
       WithoutSeriesTools,
       kLoad,
       0,
       {{Project("Freigabe/ParaSerie.bat"), ExpectedE2e("no-tools/ParaSerie.bat")},
        {kTarvell, original}},
       {hinweisFreigabe},
       {kCustomerFolder}},
      {"NoSubfolderNameRunsWithoutSeriesTools",
       [](SampleSite& s) { s.Edit(kJob, ">0 281 020 471<", ">   <"); },
       kLoad,
       0,
       {{Project("Freigabe/ParaSerie.bat"), ExpectedE2e("no-tools/ParaSerie.bat")}},
       {"There is no name for the subfolder of \"CustomerHWNo_DirName\" in the configuration",
        hinweisFreigabe},
       {kCustomerFolder}},
      {"NewDabFile",
       [](SampleSite& s) { s.Edit(kJob, ">SERIE<", ">PROTO<"); },
       sample,
       0,
       {{Customer("MX21K47_01.dab"), ExpectedE2e("new-dab/MX21K47_01.dab")},
        {Customer("MX21K47_02.dab"), ExpectedE2e("new-dab/MX21K47_02.dab")},
        {Customer("MX21K47_02s.kon"), Road("MX21K47_02s.kon")},
        {Customer("MX21K47_02n.kon"), Road("MX21K47_02n.kon")},
        {Customer("ParaSerie.bat"), ExpectedE2e("new-dab/ParaSerie.bat")},
        {kTarvell, ExpectedE2e("new-dab/Tarvell.Bat")}},
       {},
       {Customer("MX21K47_01.hex")}},
      {"LowerCaseHexLineIsRewritten",
       [](SampleSite& s) {
         s.Edit(Project("dab/MX21K47_01.dab"), "HEX-Datei = ", "  hex-datei   =   ");
       },
       sample,
       0,
       {{Customer("MX21K47_01.dab"), Road("MX21K47_01.dab")}}},
      {"OnlyDbfIsCopied",
       [](SampleSite& s) {
         s.Write(Project("dab/MX21K47_01.dbf"), s.Read(Project("dab/MX21K47_01.dam")));
         s.Remove(Project("dab/MX21K47_01.dam"));
       },
       sample,
       0,
       {{Customer("MX21K47_01.dbf"), SampleSite().Read(Project("dab/MX21K47_01.dam"))}},
       {},
       {Customer("MX21K47_01.dam")}},
      {"NeitherDamNorDbfWarns",
       [](SampleSite& s) { s.Remove(Project("dab/MX21K47_01.dam")); },
       sample,
       0,
       {{kTarvell, Road("Tarvell.Bat")}},
       {"Achtung, weder *.dam noch *.dbf-file konnte übernommen werden!"_cp}},
      {"DabPathEmptyEndsTheCommand",
       [](SampleSite& s) { s.Edit(kJob, "T:\\EDC21\\MX21K47\\dab\\MX21K47_01.dab<", "<"); },
       kLoad,
       1,
       {{"win/Varnoth.ini", Crlf({"[receiver]", "RecString=", "TransDir="})}},
       {"Kein  angegeben!", ende},
       {kCustomerFolder}},
      {"DabMissingEndsTheCommand",
       [](SampleSite& s) { s.Edit(kJob, "_01.dab<", "_09.dab<"); },
       kLoad,
       1,
       {{"tmp/SG_4711.err", "Kein T:\\EDC21\\MX21K47\\dab\\MX21K47_09.dab vorhanden!\r\n"}},
       {"Kein T:\\EDC21\\MX21K47\\dab\\MX21K47_09.dab vorhanden!", ende},
       {kCustomerFolder}},
      {"HexMissingEndsTheCommand",
       [](SampleSite& s) { s.Remove(Project("dab/MX21K47_01.hex")); },
       kLoad,
       1,
       {{Customer("MX21K47_01.dab"), Road("MX21K47_01.dab")}},
       {"Angegebener Hexfile ist nicht vorhanden!", ende},
       {Customer("MX21K47_02.dab")}},
      {"Group021WithSwmida",
       [](SampleSite& s) { Group021(s, "DA7"); },
       kLoad,
       0,
       {{Customer("ParaSerie.bat"), ExpectedE2e("group021/ParaSerie-swmida.bat")},
        {Customer("MX21K47_I05.s19"), "S00600004844521B\r\n"},
        {Customer("MX21K47_I05.dcm"), "KONSERVIERUNG_FORMAT 2.0\r\n"},
        {Customer("MX21K47_A17.hex"), SampleSite().Read(Project("appl/MX21K47_A17.hex"))},
        {kTarvell, original}},
       {hinweisCustomer},
       {Customer("MX21K47_02s.kon")}},
      {"Group021WithoutSwmida",
       [](SampleSite& s) { Group021(s, ""); },
       kLoad,
       0,
       {{Customer("ParaSerie.bat"), ExpectedE2e("group021/ParaSerie-numbered.bat")}},
       {hinweisCustomer}},
      {"Group021IntegrationFileMissing",
       [](SampleSite& s) {
         Group021(s, "DA7");
         s.Remove(Project("integration/MX21K47_I05.dcm"));
       },
       kLoad,
       1,
       {},
       {},
       {Customer("ParaSerie.bat")},
       "!! Abbruch !! Fehler 53: Datei nicht gefunden: T:\\EDC21\\MX21K47\\integration\\"
       "MX21K47_I05.dcm"},
      {"DataVersionOfTheBaseEndsTheCommand",
       [](SampleSite& s) { s.Edit(kJob, ">DS02<", ">DS01<"); },
       kLoad,
       1,
       {{kTarvell, original}},
       {"Für die Bearbeitung von Datenstand = 01\r\nkann nicht die Basis von\r\n"
        "T:\\EDC21\\MX21K47\\0281020471\\MX21K47_01.dab\r\ngewählt werden!"_cp,
        ende},
       {Customer("MX21K47_01s.kon"), Customer("ParaSerie.bat")}},
      {"ObjectMissingInTheStoreEndsTheRun",
       [](SampleSite& s) {
         s.Edit(Project("makeout/Damos/MX21K47_01.osp"), "Name=KT_AUFTRAG:", "Name=KT_AUFTRAGX:");
       },
       kLoad,
       1,
       {},
       {},
       {kCustomerFolder},
       "!! Abbruch !! Eindeutige Selektion von Spezifikation für KT_AUFTRAG aus DAMOS-OSP "
       "nicht möglich!"_cp},
      {"TestModeWritesTheReferenceConfiguration",
       nullptr,
       Plus(kLoad, {"button OK", "text 12", "button Yes"}),
       0,
       {{"site/shares/tools/TOOLS/Quenda/Cfg_Ref/aktcfg_012.txt",
         ExpectedE2e("test-mode/aktcfg_012.txt")},
        {kTarvell, Road("Tarvell.Bat")}},
       {"Start = T:\\EDC21\\MX21K47\\dab\\MX21K47_01.dab"},
       {},
       {},
       "T:\\003\\Flow\\Transfer\\Job_4711.xml,x,T"},
      {"JobNotFromFlowEndsWhileLoading",
       [](SampleSite& s) { s.Edit(kJob, ">FLOW5<", ">SAP<"); },
       {},
       1,
       {},
       {"Der Job stammt nicht aus FLOW5 oder ToolTest"},
       {kCustomerFolder}},
  };
  for (const RunCase& c : cases) {
    SampleSite s;
    if (c.arrange) c.arrange(s);
    Check(c, s, s.Run(c.answers, c.commandLine));
  }
}

TEST(RunE2e, CommandLineDecidesVariantFilesAndQuestionsLeftOpenEndWithStatus3) {
  SampleSite plain;
  auto r = plain.Run(SampleSite::SampleAnswers(), "T:\\003\\Flow\\Transfer\\Job_4711.xml");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(plain.Read(Customer("MX21K47_02s.kon")), Road("MX21K47_02s.kon"));
  for (const char* f :
       {"MX21K47_02o.kon", "MX21K47_02g.kon", "MX21K47_02a.kon", "MX21K47_02t.kon"}) {
    EXPECT_TRUE(plain.Has(Customer(f)) && plain.Read(Customer(f)).empty())
        << f << ": no variant switch \"0\" on the command line";
  }
  SampleSite open;
  Answers answers = SampleSite::SampleAnswers();
  answers.pop_back();
  r = open.Run(answers);
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find("Dialog \"Info in U:\\Freigaben\\Tarvell.Bat:\""), std::string::npos)
      << r.err;
  EXPECT_EQ(open.Read(kTarvell), SampleSite().Read(kTarvell))
      << "the unanswered question changes nothing";
  // The run ends in order: the reason in the log, the log in the current folder, the error
  // file for the calling batch system.
  const std::string why =
      "!! Abbruch !! Keine Antwort f\xFCr Dialog \"Info in U:\\Freigaben\\Tarvell.Bat:\": ";
  EXPECT_NE(open.Read("run/RizaZizi.log").find(why), std::string::npos)
      << open.Read("run/RizaZizi.log");
  EXPECT_FALSE(open.Has("tmp/RizaZizi.log"));
  EXPECT_EQ(open.Read("tmp/SG_4711.err").rfind(why.substr(14), 0), 0u)
      << open.Read("tmp/SG_4711.err");
  // A question of the load, which comes before the command fields are read: the error
  // file still carries the run's tag.
  SampleSite empty;
  r = empty.Run({});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(empty.Read("tmp/SG_4711.err")
                .rfind("Keine Antwort f\xFCr Dialog \"Eingabe \xFC"
                       "ber Konfiguration\": PST-Kennung",
                       0),
            0u)
      << empty.Read("tmp/SG_4711.err");
  EXPECT_FALSE(empty.Has("tmp/SG_.err"));
}

}  // namespace
}  // namespace quenda
