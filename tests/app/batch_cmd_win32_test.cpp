// The batch files as cmd runs them (Windows only; Wine's cmd here): values that cmd would
// act on arrive unchanged, and none of them runs a command.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "app/collection_batch.h"
#include "app/main_window.h"
#include "app/release_batch.h"
#include "platform/code_page.h"
#include "platform/system.h"
#include "session/session.h"
#include "support/fake_system.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::SessionFixture;

// Values that mean something to cmd, but none of them a double quote.
const std::string kHostile = "a&echo INJ>pwned.txt&(b)";
const std::string kPercent = "100%PATH%%1";
const std::string kCaret = "x^y|z<w!p!";
// What "set" lists comes back in the console's code page: this value stays ASCII.
const std::string kPlain = "Steyr 07";
// Letters beyond ASCII, written in the console's code page, reach a program as themselves.
const std::string kUmlauts = "Rel_M\xFCller_Gr\xF6\xDF";

// Runs `batch` in `folder` with cmd, its input empty so that "pause" returns.
void RunBatch(const std::string& folder, const std::string& batch) {
  auto system = MakeNativeSystem();
  EXPECT_NO_THROW(
      system->RunAndWait("cmd.exe /c cd /d " + folder + " && " + batch + " <NUL", SW_HIDE));
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The variables a batch left, as "set" lists them (NAME=value).
std::map<std::string, std::string> Variables(const std::string& setOutput) {
  std::map<std::string, std::string> vars;
  for (const std::string& line : Lines(setOutput)) {
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos) vars[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return vars;
}

TEST(BatchFilesUnderCmd, ReleaseBatchSetsEveryValueAsWrittenAndRunsNothing) {
  SessionFixture f;
  Session& s = f.S();
  fs::create_directories(f.dir.Path() / "tools" / "012");
  fs::create_directories(f.dir.Path() / "frei");
  // The series tools' start script lists what the release batch has set.
  f.dir.Write("tools/012/ToolStart.bat", "@set > \"" + f.dir.File("vars.txt") + "\"\r\n");
  s.site.SeriesToolsRoot = f.dir.File("tools");
  s.job.JobFilePath = "T:\\003\\Flow\\Transfer\\job.xml";
  s.job.CfgToolVersion = "012";
  s.job.CustomerPlantIndex = kPlain;
  const ReleaseFolders folders{kPercent, kHostile, f.dir.File("frei"), kCaret};
  WriteReleaseBatch(s, folders);
  RunBatch(f.dir.File("frei"), "ParaSerie.bat");
  ASSERT_TRUE(fs::exists(f.dir.Path() / "vars.txt")) << "ToolStart.bat was called";
  const auto vars = Variables(f.dir.Read("vars.txt"));
  const std::pair<std::string, std::string> expected[] = {
      {"XML_Root", "T:\\003\\Flow\\Transfer"},
      {"XML_JobName", "job"},
      {"KolpVers", "012"},
      {"PathBasis", kPercent},
      {"FileBasis", kHostile},
      {"PathFreig", f.dir.File("frei")},
      {"FileFreig", kCaret},
      {"IndexECUM", kPlain},
  };
  for (const auto& [name, value] : expected) {
    ASSERT_TRUE(vars.count(name)) << name << "\n" << f.dir.Read("vars.txt");
    EXPECT_EQ(vars.at(name), value) << name;
  }
  EXPECT_FALSE(fs::exists(f.dir.Path() / "frei" / "pwned.txt")) << "no command ran";
  EXPECT_FALSE(fs::exists(f.dir.Path() / "pwned.txt"));
}

// ToolStart.bat hands the variables to a program (the stub, an ANSI program like the series
// tools): it receives the letters as they were meant. The tools folder has a blank.
TEST(BatchFilesUnderCmd, LettersBeyondAsciiReachTheSeriesToolsAsTheyAre) {
  SessionFixture f;
  Session& s = f.S();
  s.site.BatchCodePage = SystemConsoleCodePage();
  // The German console run says which code page it must have.
  if (const char* expected = std::getenv("QUENDA_EXPECT_OEMCP")) {
    ASSERT_EQ(std::to_string(s.site.BatchCodePage), expected);
  }
  // 850 has letters that 437 lacks.
  const std::string letters = kUmlauts + (s.site.BatchCodePage == 850 ? "_\xD8" : "");
  fs::create_directories(f.dir.Path() / "tools 2" / "012");
  fs::create_directories(f.dir.Path() / "frei");
  f.dir.Write("tools 2/012/ToolStart.bat",
              "@\"" + std::string(QUENDA_TARVELL_STUB) + "\" \"%FileBasis%\" \"%IndexECUM%\"\r\n");
  s.site.SeriesToolsRoot = f.dir.File("tools 2");
  s.job.JobFilePath = "T:\\003\\Flow\\Transfer\\job.xml";
  s.job.CfgToolVersion = "012";
  s.job.CustomerPlantIndex = letters + "&x";
  WriteReleaseBatch(s, ReleaseFolders{"T:\\p", letters + ".txt", f.dir.File("frei"), "f"});
  RunBatch(f.dir.File("frei"), "ParaSerie.bat");
  ASSERT_TRUE(fs::exists(f.dir.Path() / "frei" / "received.txt")) << "ToolStart.bat was called";
  EXPECT_EQ(Lines(f.dir.Read("frei/received.txt")),
            (std::vector<std::string>{"2", letters + ".txt", letters + "&x"}))
      << "console code page " << s.site.BatchCodePage;
}

TEST(BatchFilesUnderCmd, TarvellReceivesTheEntryAsOneArgumentAndRunsNothing) {
  SessionFixture f;
  Session& s = f.S();
  fs::create_directories(f.dir.Path() / "bat");
  fs::copy_file(QUENDA_TARVELL_STUB, f.dir.Path() / "bat" / "Tarvell.exe");
  s.state.DabFilePath = "T:\\p\\" + kHostile;
  s.state.DabNewName = "neu_01.dab";
  s.state.DefPatVal = kPercent;
  s.job.RunBa = "001";
  s.job.CfgKundenGruppe = "003";
  s.job.ProjectRecord50 = kCaret + kPlain + kUmlauts;
  s.site.BatchCodePage = SystemConsoleCodePage();
  MainWindow window(s);
  window.BatDirectory = f.dir.File("bat");
  RunCollectionBatchStep(s, window);
  RunBatch(f.dir.File("bat"), "Tarvell.Bat");
  ASSERT_TRUE(fs::exists(f.dir.Path() / "bat" / "received.txt")) << f.dir.Read("bat/Tarvell.Bat");
  const std::vector<std::string> received = Lines(f.dir.Read("bat/received.txt"));
  const std::string meant =
      "T:\\p\\" + kHostile + "\\neu_01.dab||" + kPercent + "|003|" + kCaret + kPlain + kUmlauts;
  EXPECT_EQ(received, (std::vector<std::string>{"1", meant}));
  EXPECT_FALSE(fs::exists(f.dir.Path() / "bat" / "pwned.txt")) << "no command ran";
}

}  // namespace
}  // namespace quenda
