#include "platform/site_settings.h"

#include <gtest/gtest.h>

#include "support/fake_system.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::FakeSystem;
using testing::TempDir;

// A system of `family` whose folders are absolute on every host.
FakeSystem SystemOf(SystemFamily family, const TempDir& dir) {
  FakeSystem system;
  system.family = family;
  system.tempPath = dir.File("tmp");  // without its separator
  system.windowsDir = dir.File("win");
  system.consoleCodePage = 437;
  system.decimalSeparator = ",";
  system.env = {{"HOME", dir.File("home")},
                {"USERPROFILE", "C:\\Users\\ich"},
                {"VISUAL", "vim"},
                {"EDITOR", "nano"}};
  return system;
}

TEST(LoadSiteSettings, AnEmptyConfigIniGivesTheWindowsDefaults) {
  TempDir dir;
  FakeSystem system = SystemOf(SystemFamily::kWindows, dir);
  const SiteSettings s = LoadSiteSettings("", dir.Path().string(), system);
  EXPECT_EQ(s.ProjectShareRoot, "\\\\quenda-fs\\projekte");
  EXPECT_EQ(s.ToolsShareRoot, "\\\\quenda-fs\\tools");
  EXPECT_EQ(s.FlowDataNamespaceUri, "http://flow.quenda.local/namespace/FlowData");
  EXPECT_EQ(s.ProjectDrive, "T:\\");
  EXPECT_EQ(s.LocalTestDir, "C:\\T_lokal\\LC_Tests\\prg\\");
  EXPECT_EQ(s.SeriesToolsRoot, "I:\\Programme\\Tolmek\\Freigabe\\Tools\\Kolpator");
  EXPECT_EQ(s.Editor, "N:\\programme\\tools\\Tarvell\\Notepad.exe ") << "not $VISUAL";
  EXPECT_EQ(s.DecimalSeparator, ",");
  EXPECT_EQ(s.TempDir, dir.File("tmp") + "\\");
  EXPECT_EQ(s.TempDirSource, "vom System vorgegeben");
  EXPECT_EQ(s.TempDirRefused, "");
  EXPECT_EQ(s.WindowsDir, dir.File("win"));
  EXPECT_EQ(s.ProfileDir, "C:\\Users\\ich") << "USERPROFILE, not HOME";
  EXPECT_EQ(s.BatchCodePage, 437) << "the console's code page";
  EXPECT_TRUE(s.Drives.CanResolve("X:\\daten")) << "an unmapped Windows path is used as it is";
}

TEST(LoadSiteSettings, AnEmptyConfigIniGivesThePosixDefaults) {
  TempDir dir;
  FakeSystem system = SystemOf(SystemFamily::kPosix, dir);
  const SiteSettings s = LoadSiteSettings("", dir.Path().string(), system);
  EXPECT_EQ(s.Editor, "vim ");
  EXPECT_EQ(s.TempDir, dir.File("tmp") + "/");
  EXPECT_EQ(s.WindowsDir, dir.File("win"));
  EXPECT_EQ(s.ProfileDir, dir.File("home")) << "HOME, not USERPROFILE";
  EXPECT_EQ(s.BatchCodePage, 850) << "not the console's";
  EXPECT_FALSE(s.Drives.CanResolve("X:\\daten")) << "an unmapped Windows path is an error";
}

TEST(LoadSiteSettings, ThePosixEditorIsVisualElseEditorElseNone) {
  const struct {
    std::string visual, editor, expected;
  } cases[] = {
      {"vim", "nano", "vim "},
      {"", "nano", "nano "},
      {"", "", ""},
  };
  TempDir dir;
  for (const auto& c : cases) {
    FakeSystem system = SystemOf(SystemFamily::kPosix, dir);
    system.env = {{"VISUAL", c.visual}, {"EDITOR", c.editor}};
    EXPECT_EQ(LoadSiteSettings("", dir.Path().string(), system).Editor, c.expected)
        << "VISUAL >" << c.visual << "< EDITOR >" << c.editor << "<";
  }
}

// [Site] BatchCodePage: at most five digits, anything else is 0 (no letter beyond ASCII
// fits then); Windows asks the console and reads no setting.
TEST(LoadSiteSettings, TheBatchCodePageComesFromTheSiteElsewhereAndFromTheConsoleOnWindows) {
  const struct {
    std::string line;  // the [Site] line, empty for none
    int posix;
  } cases[] = {
      {"", 850},
      {"BatchCodePage=1252", 1252},
      {"BatchCodePage=437", 437},
      {"BatchCodePage=00850", 850},
      {"BatchCodePage=99999", 99999},
      {"BatchCodePage=123456", 0},
      {"BatchCodePage=", 0},
      {"BatchCodePage=85a", 0},
      {"BatchCodePage=-850", 0},
      {"BatchCodePage= 850 ", 850},
  };
  TempDir dir;
  for (const auto& c : cases) {
    const std::string ini = "[Site]\r\n" + c.line + "\r\n";
    FakeSystem posix = SystemOf(SystemFamily::kPosix, dir);
    EXPECT_EQ(LoadSiteSettings(ini, dir.Path().string(), posix).BatchCodePage, c.posix) << ini;
    FakeSystem windows = SystemOf(SystemFamily::kWindows, dir);
    EXPECT_EQ(LoadSiteSettings(ini, dir.Path().string(), windows).BatchCodePage, 437) << ini;
  }
}

TEST(LoadSiteSettings, SiteKeysReplaceTheDefaults) {
  const struct {
    const char* key;
    std::string SiteSettings::*member;
  } cases[] = {
      {"ProjectShareRoot", &SiteSettings::ProjectShareRoot},
      {"ToolsShareRoot", &SiteSettings::ToolsShareRoot},
      {"FlowDataNamespaceUri", &SiteSettings::FlowDataNamespaceUri},
      {"ProjectDrive", &SiteSettings::ProjectDrive},
      {"LocalTestDir", &SiteSettings::LocalTestDir},
      {"SeriesToolsRoot", &SiteSettings::SeriesToolsRoot},
      {"Editor", &SiteSettings::Editor},
      {"DecimalSeparator", &SiteSettings::DecimalSeparator},
      {"WindowsDir", &SiteSettings::WindowsDir},
      {"ProfileDir", &SiteSettings::ProfileDir},
  };
  TempDir dir;
  for (const SystemFamily family : {SystemFamily::kWindows, SystemFamily::kPosix}) {
    for (const auto& c : cases) {
      FakeSystem system = SystemOf(family, dir);
      const std::string ini = std::string("[Site]\r\n") + c.key + "=Q:\\eigen\r\n";
      EXPECT_EQ(LoadSiteSettings(ini, dir.Path().string(), system).*c.member, "Q:\\eigen") << ini;
    }
  }
}

TEST(LoadSiteSettings, TheSitesTempDirIsNamedWithTheConfigIniAndGetsTheSeparator) {
  TempDir dir;
  const std::string programDir = dir.Path().string();
  const std::string ini = "[Site]\r\nTempDir=T:\\temp\r\n";
  FakeSystem windows = SystemOf(SystemFamily::kWindows, dir);
  const SiteSettings w = LoadSiteSettings(ini, programDir, windows);
  EXPECT_EQ(w.TempDir, "T:\\temp\\");
  EXPECT_EQ(w.TempDirSource, "[Site] TempDir in " + programDir + "\\Config.ini");
  FakeSystem posix = SystemOf(SystemFamily::kPosix, dir);
  const SiteSettings p = LoadSiteSettings(ini, programDir, posix);
  EXPECT_EQ(p.TempDir, "T:\\temp/");
  EXPECT_EQ(p.TempDirSource, "[Site] TempDir in " + programDir + "/Config.ini");
  EXPECT_EQ(LoadSiteSettings("[Site]\r\nTempDir=T:\\temp\\\r\n", programDir, posix).TempDir,
            "T:\\temp\\")
      << "a separator of either kind is kept";
}

TEST(LoadSiteSettings, RelativeFoldersAreTakenFromTheProgramFolder) {
  TempDir dir;
  fs::create_directories(dir.Path() / "drive_t" / "003");
  FakeSystem system;  // the native family
  const SiteSettings s = LoadSiteSettings(
      "[Site]\r\nTempDir=tmp\r\nWindowsDir=win\r\nProfileDir=home\r\n[Paths]\r\nT:=drive_t\r\n",
      dir.Path().string(), system);
  EXPECT_EQ(fs::path(s.TempDir), dir.Path() / "tmp" / "");
  EXPECT_EQ(fs::path(s.WindowsDir), dir.Path() / "win");
  EXPECT_EQ(fs::path(s.ProfileDir), dir.Path() / "home");
  EXPECT_EQ(s.Drives.Resolve("T:\\003"), dir.Path() / "drive_t" / "003");
}

TEST(ConfigIniPath, TheSeparatorIsTheFamilys) {
  EXPECT_EQ(ConfigIniPath("C:\\prog", SystemFamily::kWindows), "C:\\prog\\Config.ini");
  EXPECT_EQ(ConfigIniPath("/opt/quenda", SystemFamily::kPosix), "/opt/quenda/Config.ini");
  EXPECT_EQ(ConfigIniPath("x"), ConfigIniPath("x", NativeSystemFamily()));
}

}  // namespace
}  // namespace quenda
