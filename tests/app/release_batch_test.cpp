#include "app/release_batch.h"

#include <gtest/gtest.h>

#include <functional>

#include "base/error.h"
#include "session/session.h"
#include "support/fake_system.h"

namespace quenda {
namespace {

using testing::SessionFixture;

void SetParam(Session& s, int row, const std::string& name, const std::string& value) {
  s.params.At(row, ParamTable::kName) = name;
  s.params.At(row, ParamTable::kValue) = value;
  s.state.izeile = std::max(s.state.izeile, row + 1);
}

class ReleaseBatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s().job.JobFilePath = "T:\\003\\Flow\\Transfer\\job.v2.xml";
    s().job.CfgToolVersion = "012";
    s().job.CustomerPlantIndex = "07";
    s().job.RunKundenGruppe = "005";
  }
  Session& s() { return f.S(); }
  SessionFixture f;
  ReleaseFolders folders{"T:\\p\\dab", "basis", "T:\\p\\kunde", "freig"};
};

TEST_F(ReleaseBatchTest, SeventeenLinesForOtherCustomerGroups) {
  const std::vector<std::string> expected = {
      "echo off",
      "SET XML_Root=T:\\003\\Flow\\Transfer",
      "SET XML_JobName=job",
      "SET KolpVers=012",
      "SET PathBasis=T:\\p\\dab",
      "SET FileBasis=basis",
      "SET PathFreig=T:\\p\\kunde",
      "SET FileFreig=freig",
      "SET IndexECUM=07",
      "",
      "call I:\\Programme\\Tolmek\\Freigabe\\Tools\\Kolpator\\%KolpVers%\\ToolStart.bat %1 ",
      "",
      "echo.",
      "echo Bearbeitung beendet",
      "echo.",
      "pause",
      "exit"};
  EXPECT_EQ(ReleaseBatchLines(s(), folders), expected);
}

TEST_F(ReleaseBatchTest, CustomerGroup021AddsProductLinesWithOneOrThreeDataNames) {
  s().job.RunKundenGruppe = "021";
  SetParam(s(), 0, "ApplFileName", "appl.x.hex");
  SetParam(s(), 1, "SoftwareName", "SW");
  SetParam(s(), 2, "SWMIEX", "ext");
  SetParam(s(), 3, "SWMIDA", "dat");
  SetParam(s(), 4, "SWMIIN", "int");
  SetParam(s(), 5, "SoftwarePartNumber", "123");
  SetParam(s(), 6, "HardwarePartNumber", "456");
  auto lines = ReleaseBatchLines(s(), folders);
  const std::vector<std::string> withData(lines.begin() + 9, lines.begin() + 16);
  EXPECT_EQ(withData,
            (std::vector<std::string>{"SET FileAppl=appl", "SET FileOutp=SW", "SET FileNamExt=ext",
                                      "SET FileNamDat=dat", "SET FileNamInt=int",
                                      "SET SwIdentNo=123", "SET HwIdentNo=456"}));
  s().params.At(3, ParamTable::kValue) = "";
  SetParam(s(), 7, "SWMIDA2", "d2");
  lines = ReleaseBatchLines(s(), folders);
  ASSERT_EQ(lines.size(), 26u);
  EXPECT_EQ(lines[12], "SET FileNamDat1=");
  EXPECT_EQ(lines[13], "SET FileNamDat2=d2");
  EXPECT_EQ(lines[14], "SET FileNamDat3=");
}

TEST(SetLine, ValuesThatCmdWouldRunAreQuoted) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "SET X=plain"},
      {"", "SET X="},
      {"a&del *", "SET \"X=a&del *\""},
      {"a|b", "SET \"X=a|b\""},
      {"<in>", "SET \"X=<in>\""},
      {"x^y", "SET \"X=x^y\""},
      {"100%PATH%", "SET \"X=100%%PATH%%\""},
      {"(a)", "SET \"X=(a)\""},
      {"!PATH!", "SET X=!PATH!"},
  };
  for (const auto& [value, line] : cases) EXPECT_EQ(SetLine("X", value), line) << value;
  EXPECT_THROW(SetLine("X", "a\"&b"), Error);
  EXPECT_THROW(SetLine("X", "/?"), Error);
  EXPECT_THROW(SetLine("X", "a&b/?"), Error);
}

// A value that cannot be written safely ends the run before the file is touched: an older
// batch stays, the message is in the run log and in the error file for a batch system.
TEST_F(ReleaseBatchTest, UnsafeValueEndsTheRunAndLeavesTheOldBatch) {
  struct Case {
    std::string name;
    std::function<void(Session&, ReleaseFolders&)> set;
  };
  const Case cases[] = {
      {"FileBasis",
       [](Session&, ReleaseFolders& r) { r.FileBasis = "Rel\"&echo INJ>p.txt&\".txt"; }},
      {"IndexECUM", [](Session& s, ReleaseFolders&) { s.job.CustomerPlantIndex = "07\r\necho"; }},
      // Expanded into the call line, where quoting cannot hold it.
      {"KolpVers", [](Session& s, ReleaseFolders&) { s.job.CfgToolVersion = "046&echo INJ>p"; }},
      {"KolpVers", [](Session& s, ReleaseFolders&) { s.job.CfgToolVersion = "04 6"; }},
      {"[Site] SeriesToolsRoot",
       [](Session& s, ReleaseFolders&) { s.site.SeriesToolsRoot = "I:\\Tools\\50%Rabatt"; }},
      // The console's code page 850 has no euro sign.
      {"FileFreig", [](Session&, ReleaseFolders& r) { r.FileFreig = "Preis_\x80"; }},
  };
  for (const Case& c : cases) {
    SessionFixture g;
    Session& s = g.S();
    s.job = f.S().job;
    s.env.CommandFields = {"job.xml", "4711", "0", "", ""};  // BatchMode
    g.OpenLog();
    g.dir.Write("kunde/ParaSerie.bat", "alt\r\n");
    ReleaseFolders unsafe = folders;
    unsafe.PathFreig = g.dir.File("kunde");
    c.set(s, unsafe);
    EXPECT_EQ(testing::ExitOf([&] { WriteReleaseBatch(s, unsafe); }), 1) << c.name;
    EXPECT_EQ(g.dir.Read("kunde/ParaSerie.bat"), "alt\r\n") << c.name;
    const std::string message = "Der Wert f\xFCr " + c.name + " enth\xE4lt ";
    EXPECT_NE(g.dir.Read("cwd/RizaZizi.log").find("!! Abbruch !! " + message), std::string::npos)
        << g.dir.Read("cwd/RizaZizi.log");
    EXPECT_EQ(g.dir.Read("tmp/SG_4711.err").rfind(message, 0), 0u) << g.dir.Read("tmp/SG_4711.err");
  }
}

// cmd reads the batch in the console's code page: "ü" is written as 0x81 in 850, and as
// 0xFC in 1252 where a site says so; ASCII lines keep their bytes.
TEST_F(ReleaseBatchTest, LettersBeyondAsciiAreWrittenInTheBatchCodePage) {
  f.dir.Write("kunde/ParaSerie.bat", "alt\r\n");
  folders.PathFreig = f.dir.File("kunde");
  folders.FileBasis = "Rel_M\xFCller.txt";
  const std::pair<int, std::string> cases[] = {{850, "\x81"}, {437, "\x81"}, {1252, "\xFC"}};
  for (const auto& [codePage, u] : cases) {
    s().site.BatchCodePage = codePage;
    WriteReleaseBatch(s(), folders);
    const std::string text = f.dir.Read("kunde/ParaSerie.bat");
    EXPECT_NE(text.find("\r\nSET FileBasis=Rel_M" + u + "ller.txt\r\n"), std::string::npos)
        << codePage;
    EXPECT_NE(text.find("\r\nSET XML_Root=T:\\003\\Flow\\Transfer\r\n"), std::string::npos);
  }
}

// A tools folder with blanks stays one path; the version between its parts is safe already.
TEST_F(ReleaseBatchTest, ToolsFolderWithBlanksIsQuotedInTheCallLine) {
  s().site.SeriesToolsRoot = "I:\\Series Tools\\Kolp";
  EXPECT_EQ(ReleaseBatchLines(s(), folders)[10],
            "call \"I:\\Series Tools\\Kolp\\%KolpVers%\\ToolStart.bat\" %1 ");
}

TEST_F(ReleaseBatchTest, ReplacesAnExistingBatchWithCrLfLines) {
  f.dir.Write("kunde/ParaSerie.bat", "alt\r\n");
  folders.PathFreig = f.dir.File("kunde");
  WriteReleaseBatch(s(), folders);
  const std::string text = f.dir.Read("kunde/ParaSerie.bat");
  EXPECT_EQ(text.rfind("echo off\r\nSET XML_Root=T:\\003\\Flow\\Transfer\r\n", 0), 0u) << text;
  EXPECT_EQ(text.substr(text.size() - 13), "pause\r\nexit\r\n");
}

}  // namespace
}  // namespace quenda
