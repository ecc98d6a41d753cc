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
  system.env = {{"HOME", dir.File("home")},
                {"USERPROFILE", "C:\\Users\\ich"},
                {"VISUAL", "vim"},
                {"EDITOR", "nano"}};
  return system;
}

TEST(LoadSiteSettings, AnEmptyConfigIniGivesTheFamilysDefaults) {
  TempDir dir;
  const struct {
    SystemFamily family;
    std::string editor, tempDir, profileDir;
    int batchCodePage;
    bool unmappedResolves;
  } cases[] = {
      {SystemFamily::kWindows, "N:\\programme\\tools\\Tarvell\\Notepad.exe ",
       dir.File("tmp") + "\\", "C:\\Users\\ich", 437, true},
      {SystemFamily::kPosix, "vim ", dir.File("tmp") + "/", dir.File("home"), 850, false},
  };
  for (const auto& c : cases) {
    FakeSystem system = SystemOf(c.family, dir);
    const SiteSettings s = LoadSiteSettings("", dir.Path().string(), system);
    EXPECT_EQ(s.Editor, c.editor);
    EXPECT_EQ(s.TempDir, c.tempDir);
    EXPECT_EQ(s.ProfileDir, c.profileDir);
    EXPECT_EQ(s.BatchCodePage, c.batchCodePage);
    EXPECT_EQ(s.Drives.CanResolve("X:\\daten"), c.unmappedResolves);
  }
}

// [Site] BatchCodePage: at most five digits, anything else is 0; Windows asks the console.
TEST(LoadSiteSettings, TheBatchCodePageComesFromTheSiteElsewhereAndFromTheConsoleOnWindows) {
  const std::pair<std::string, int> cases[] = {
      {"BatchCodePage=99999", 99999}, {"BatchCodePage=123456", 0}, {"BatchCodePage=", 0},
      {"BatchCodePage=85a", 0},       {"BatchCodePage=-850", 0},
  };
  TempDir dir;
  for (const auto& [line, posix] : cases) {
    const std::string ini = "[Site]\r\n" + line + "\r\n";
    FakeSystem p = SystemOf(SystemFamily::kPosix, dir), w = SystemOf(SystemFamily::kWindows, dir);
    EXPECT_EQ(LoadSiteSettings(ini, dir.Path().string(), p).BatchCodePage, posix) << ini;
    EXPECT_EQ(LoadSiteSettings(ini, dir.Path().string(), w).BatchCodePage, 437) << ini;
  }
}

TEST(LoadSiteSettings, SiteKeysReplaceTheDefaultsAndRelativeFoldersAreTheProgramFolders) {
  TempDir dir;
  const std::string programDir = dir.Path().string();
  fs::create_directories(dir.Path() / "drive_t" / "003");
  FakeSystem system = SystemOf(NativeSystemFamily(), dir);
  const SiteSettings s = LoadSiteSettings(
      "[Site]\r\nEditor=ed\r\nTempDir=tmp\r\n[Paths]\r\nT:=drive_t\r\n", programDir, system);
  EXPECT_EQ(s.Editor, "ed");
  EXPECT_EQ(fs::path(s.TempDir), dir.Path() / "tmp" / "");
  EXPECT_EQ(s.TempDirSource, "[Site] TempDir in " + ConfigIniPath(programDir));
  EXPECT_EQ(s.Drives.Resolve("T:\\003"), dir.Path() / "drive_t" / "003");
}

}  // namespace
}  // namespace quenda
