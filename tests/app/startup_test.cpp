#include "app/startup.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "app/main_window.h"
#include "base/error.h"
#include "platform/file_lock.h"
#include "session/session.h"
#include "support/fake_system.h"
#include "text/cp1252.h"

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
    // Known before the start sequence, which fills CommandFields with the same.
    EXPECT_EQ(f.S().env.CommandLineFields(), c.fields) << "command line " << c.commandLine;
    EXPECT_EQ(f.S().env.BatchRun(), c.batchMode) << "command line " << c.commandLine;
    MainWindow window(f.S());
    Main(f.S());
    EXPECT_EQ(f.dir.Read("home/xx.txt"), c.xxLine + "\r\n") << "command line " << c.commandLine;
    EXPECT_EQ(f.S().env.CommandFields, c.fields) << "command line " << c.commandLine;
    EXPECT_EQ(f.S().env.BatchMode(), c.batchMode) << "command line " << c.commandLine;
  }
}

TEST(Main, StartLinesAndTheWindowLoadedBeforeTheFirstLine) {
  SessionFixture f(kCancelDialog, SiteIni());
  fs::create_directories(f.dir.Path() / "drive_t" / "LC_Tests" / "prg");
  MainWindow window(f.S());
  Main(f.S());
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

TEST(Main, AMissingTempFolderIsNamedWithWhereItComesFrom) {
  const struct {
    std::string ini;
    std::string source;
  } cases[] = {
      {"[Site]\r\nTempDir=fehlt\r\nProfileDir=home\r\n", "[Site] TempDir in "},
      {"[Site]\r\nProfileDir=home\r\n", "vom System vorgegeben"},
  };
  for (const auto& c : cases) {
    SessionFixture f(kCancelDialog, c.ini);
    fs::remove_all(f.dir.Path() / "tmp");
    f.S().env.TempDir = f.S().site.TempDir;
    MainWindow window(f.S());
    try {
      Main(f.S());
      ADD_FAILURE() << "no error for " << c.source;
    } catch (const Error& e) {
      EXPECT_EQ(e.Description().rfind(
                    "Der temporäre Ordner "_cp + f.S().site.TempDir + " (" + c.source, 0),
                0u)
          << e.Description();
      EXPECT_NE(e.Description().find(") fehlt oder ist nicht beschreibbar: "), std::string::npos);
    }
    EXPECT_FALSE(f.S().log.IsOpen());
  }
}

TEST(Main, LogsOfKilledRunsGoAndThoseOfLiveRunsStay) {
  SessionFixture f(kCancelDialog, SiteIni());
  fs::create_directories(f.dir.Path() / "drive_t" / "LC_Tests" / "prg");
  f.dir.Write("tmp/RizaZizi_111.log", "killed\r\n");
  f.dir.Write("tmp/RizaZizi_222.log", "live\r\n");
  f.dir.Write("tmp/RizaZizi_x.txt", "other\r\n");
  f.dir.Write("tmp/Andere_333.log", "other\r\n");
  std::FILE* live = nullptr;
  ASSERT_EQ(OpenHeldFile(f.dir.Path() / "tmp" / "RizaZizi_222.log", live), LockedOpen::kOpened);
  MainWindow window(f.S());
  Main(f.S());
  std::fclose(live);
  EXPECT_FALSE(fs::exists(f.dir.Path() / "tmp" / "RizaZizi_111.log"));
  EXPECT_TRUE(fs::exists(f.dir.Path() / "tmp" / "RizaZizi_222.log"));
  EXPECT_TRUE(fs::exists(f.dir.Path() / "tmp" / "RizaZizi_x.txt"));
  EXPECT_TRUE(fs::exists(f.dir.Path() / "tmp" / "Andere_333.log"));
  EXPECT_TRUE(fs::exists(f.dir.Path() / "tmp" / "RizaZizi.log")) << "its own log stays";
}

#ifndef _WIN32
// A RizaZizi.log that is no file of the user's (here a link; the kinds are told apart by the
// file layer) is never written: the run takes a log of its own and says so in it.
TEST(Main, RefusedCommonLogNameGivesTheRunItsOwnLog) {
  SessionFixture f(kCancelDialog, SiteIni());
  fs::create_directories(f.dir.Path() / "drive_t" / "LC_Tests" / "prg");
  f.dir.Write("victim.txt", "geheim\r\n");
  const fs::path common = f.dir.Path() / "tmp" / "RizaZizi.log";
  ASSERT_EQ(symlink((f.dir.Path() / "victim.txt").c_str(), common.c_str()), 0);
  MainWindow window(f.S());
  Main(f.S());
  const std::string own =
      f.dir.File("tmp") + testing::kSep + "RizaZizi_" + std::to_string(CurrentProcessId()) + ".log";
  EXPECT_EQ(f.S().state.LaufLogFile, own);
  EXPECT_EQ(f.dir.Read("victim.txt"), "geheim\r\n");
  const std::string log = f.S().log.Content();
  EXPECT_NE(log.find("Laufprotokoll " + own + " statt " + common.string() + ": "), log.npos) << log;
  EXPECT_NE(log.find(common.string() + " ist eine symbolische Verknüpfung"_cp), log.npos) << log;
}
#endif

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
    Main(f.S());
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
