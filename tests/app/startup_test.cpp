#include "app/startup.h"

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "session/session.h"
#include "support/fake_system.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::SessionFixture;

TEST(AppVersion, MinorAndRevisionJoinWithoutSeparator) {
  EXPECT_EQ(FormatAppVersion(3, 1, 2), "3.12");
  EXPECT_EQ(FormatAppVersion(1, 0, 0), "1.00");
  EXPECT_EQ(FormatAppVersion(2, 10, 7), "2.107");
}

// Without a job on the command line the load asks for the transfer file: cancel it.
const std::string kCancelDialog = "button Cancel\n";

// Config.ini text that maps T: and the project share into the test folder.
std::string SiteIni(const std::string& localTestDir = "C:\\nirgends\\") {
  return "[Site]\r\nProjectShareRoot=\\\\fs\\projekte\r\nProjectDrive=T:\\\r\nLocalTestDir=" +
         localTestDir + "\r\nTempDir=tmp\r\nWindowsDir=win\r\nProfileDir=home\r\n[Paths]\r\n" +
         "T:=drive_t\r\n\\\\fs\\projekte=unc\r\n";
}

struct CommandLineCase {
  std::string commandLine;
  std::string xxLine;
  std::array<std::string, 5> fields;
  bool batchMode;
};

TEST(Main, CommandLineBecomesTraceFileAndCommandFields) {
  const CommandLineCase cases[] = {
      {"", "", {"", "", "", "", ""}, false},
      {"\"a|42|0\"", "a|42|0", {"a", "42", "0", "|", "|"}, true},
      {"a|b", "\"", {"\"", "|", "|", "|", "|"}, true},
      {"T:\\003\\job.xml,7,P", "\"", {"\"", "|", "|", "|", "|"}, true},
      {"x \"only|one", "only|one", {"only", "one", "|", "|", "|"}, true},
  };
  for (const auto& c : cases) {
    SessionFixture f(kCancelDialog, SiteIni());
    fs::create_directories(f.dir.Path() / "drive_t" / "LC_Tests" / "prg");
    f.S().env.CommandLineText = c.commandLine;
    MainWindow window(f.S());
    Main(f.S(), window);
    EXPECT_EQ(f.dir.Read("home/xx.txt"), c.xxLine + "\r\n") << "command line " << c.commandLine;
    EXPECT_EQ(f.S().env.CommandFields, c.fields) << "command line " << c.commandLine;
    EXPECT_EQ(f.S().env.BatchMode(), c.batchMode) << "command line " << c.commandLine;
  }
}

TEST(Main, StartLinesAndTheWindowLoadedBeforeTheFirstLine) {
  SessionFixture f(kCancelDialog, SiteIni());
  fs::create_directories(f.dir.Path() / "drive_t" / "LC_Tests" / "prg");
  MainWindow window(f.S());
  Main(f.S(), window);
  const std::string temp = f.dir.File("tmp") + testing::kSep;
  EXPECT_TRUE(window.Loaded());
  EXPECT_EQ(f.dir.Read("tmp/RizaZizi.log"),
            "DAM-S-QUENDA-STARTED V" + AppVersionText() + "\r\nTemp-Directory = " + temp +
                "\r\nWindows-Directory = " + f.dir.File("win") + "\r\n");
  ASSERT_EQ(window.ListOutput.size(), 3u);
  EXPECT_EQ(window.AktionText, "Windows-Directory = " + f.dir.File("win"));
  EXPECT_EQ(window.ListIndex, 2);
  EXPECT_EQ(f.S().env.IniFilePath, f.dir.File("win") + "\\Varnoth.ini");
}

TEST(Main, BatchModeLinesStayOutOfTheList) {
  SessionFixture f(kCancelDialog, SiteIni());
  MainWindow window(f.S());
  f.S().env.CommandFields[0] = "job.xml";
  f.S().WriteLogLine("nur in der Datei");
  EXPECT_TRUE(window.ListOutput.empty());
  EXPECT_FALSE(window.Loaded()) << "a line in BatchMode does not touch the window";
}

TEST(Main, ProjectDriveRootFollowsWhatIsReachable) {
  struct Case {
    const char* what;
    bool localTest, unc, drive;
    std::string root;
    bool warning;
  } cases[] = {
      {"local test folder", true, true, true, "T:\\", false},
      {"share by UNC", false, true, true, "\\\\fs\\projekte\\", false},
      {"drive only", false, false, true, "T:\\", false},
      {"neither", false, false, false, "T:\\", true},
  };
  for (const auto& c : cases) {
    SessionFixture f(kCancelDialog, SiteIni("T:\\lokal\\"));
    if (c.localTest) fs::create_directories(f.dir.Path() / "drive_t" / "lokal");
    if (c.unc) fs::create_directories(f.dir.Path() / "unc" / "LC_Tests" / "prg");
    if (c.drive) fs::create_directories(f.dir.Path() / "drive_t" / "LC_Tests" / "prg");
    f.RecordDialogs();
    MainWindow window(f.S());
    Main(f.S(), window);
    EXPECT_EQ(f.S().env.ProjectDriveRoot, c.root) << c.what;
    const bool warned = f.Transcript().find(
                            "Das Laufwerk T:\\\\ ist nicht, oder nicht korrekt "
                            "verbunden:\\r\\nT:\\\\LC_Tests\\\\prg\\\\\\r\\n"
                            "konnte nicht gefunden werden!") != std::string::npos;
    EXPECT_EQ(warned, c.warning) << c.what << ": " << f.Transcript();
  }
}

TEST(CheckLaufwerk, FileSubPathLooksForAFile) {
  SessionFixture f(kCancelDialog, SiteIni());
  f.dir.Write("unc/marker.txt", "x");
  EXPECT_EQ(Check_laufwerk(f.S(), "\\\\fs\\projekte\\", "T:\\", "marker.txt"),
            "\\\\fs\\projekte\\");
  EXPECT_EQ(Check_laufwerk(f.S(), "\\\\fs\\projekte\\", "T:\\", "marker.txt\\"), "T:\\")
      << "a sub path ending in a backslash names a folder";
}

}  // namespace
}  // namespace quenda
