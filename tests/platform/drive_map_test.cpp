#include "platform/drive_map.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/fake_system.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::TempDir;

TEST(DriveMap, LongestPrefixWinsIgnoringCase) {
  TempDir dir;
  fs::create_directories(dir.Path() / "t" / "003" / "Flow");
  fs::create_directories(dir.Path() / "share" / "projekte");
  DriveMap map;
  map.Add("T:", dir.Path() / "t");
  map.Add("\\\\srv", dir.Path() / "srv");
  map.Add("\\\\SRV\\Share", dir.Path() / "share");
  EXPECT_EQ(map.Resolve("t:\\003\\Flow"), dir.Path() / "t" / "003" / "Flow");
  EXPECT_EQ(map.Resolve("\\\\srv\\share\\projekte"), dir.Path() / "share" / "projekte");
  EXPECT_EQ(map.Resolve("\\\\srv\\other\\x"), dir.Path() / "srv" / "other" / "x");
  // "\\srv\shareX" is not below "\\srv\share"
  EXPECT_EQ(map.Resolve("\\\\srv\\shareX"), dir.Path() / "srv" / "shareX");
}

TEST(DriveMap, ComponentsAreFoundIgnoringCase) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows file names ignore case: the path works as written";
#endif
  TempDir dir;
  fs::create_directories(dir.Path() / "t" / "Projekt" / "MakeOut" / "Damos");
  DriveMap map;
  map.Add("T:", dir.Path() / "t");
  EXPECT_EQ(map.Resolve("T:\\projekt\\makeout\\damos\\new.osp"),
            dir.Path() / "t" / "Projekt" / "MakeOut" / "Damos" / "new.osp")
      << "an existing folder is reused whatever the case of the path";
  EXPECT_EQ(map.Resolve("T:\\projekt\\neu\\datei.txt"),
            dir.Path() / "t" / "Projekt" / "neu" / "datei.txt")
      << "new components keep the name as written";
}

TEST(DriveMap, UnmappedWindowsPathIsUsedAsItIs) {
  DriveMap map(SystemFamily::kWindows);
  map.Add("T:", "C:\\nowhere");
  EXPECT_EQ(map.Resolve("X:\\daten\\job.xml"), fs::path("X:\\daten\\job.xml"));
  EXPECT_EQ(map.Resolve("\\\\other\\share\\a"), fs::path("\\\\other\\share\\a"));
  EXPECT_TRUE(map.CanResolve("\\\\other\\share"));
}

TEST(DriveMap, UnmappedWindowsPathIsAnErrorNamingIt) {
  DriveMap map(SystemFamily::kPosix);
  map.Add("T:", "/nowhere");
  try {
    map.Resolve("X:\\daten\\job.xml");
    FAIL() << "X: has no mapping";
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), kErrPathNotFound);
    EXPECT_EQ(e.Description(), "Pfad nicht gefunden: X:\\daten\\job.xml");
  }
  EXPECT_FALSE(map.CanResolve("\\\\other\\share"));
  EXPECT_TRUE(map.CanResolve("relative\\name.txt"));
}

// "\\?\" and "\\.\" reach the device layer unchecked: refused, mapped or not.
TEST(DriveMap, DevicePrefixesAreRefusedNamingThePath) {
  const std::pair<std::string, bool> cases[] = {
      {"\\\\?\\T:\\EDC21\\x.dab", true},
      {"\\\\.\\COM1", true},
      {"\\\\?", false},
      {"\\\\.x\\share", false},
  };
  DriveMap map;
  map.Add("T:", "/nowhere");
  map.Add("\\\\?", "/nowhere");
  map.Add("\\\\.", "/nowhere");
  for (const auto& [path, device] : cases) {
    EXPECT_EQ(HasDevicePrefix(path), device) << path;
    if (!device) continue;
    EXPECT_FALSE(map.CanResolve(path)) << path;
    try {
      map.Resolve(path);
      ADD_FAILURE() << path << " resolved";
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), kErrBadFileName) << path;
      EXPECT_EQ(e.Description().rfind("Der Pfad >" + path + "< beginnt mit \\\\?\\ oder", 0), 0u);
    }
  }
}

TEST(DriveMap, DotsResolveLexicallyAndStopAtTheRootOfTheDriveOrShare) {
  const std::pair<std::string, std::string> cases[] = {
      {"T:\\003\\x.dab", "T:\\003\\x.dab"},
      {"T:\\", "T:\\"},
      {"T:", "T:"},
      {"T:\\a\\.\\b\\", "T:\\a\\b\\"},
      {"T:\\a\\\\b", "T:\\a\\b"},
      {"T:/a/b", "T:\\a\\b"},
      {"T:\\..", "T:\\"},
      {"T:\\..\\..\\x", "T:\\x"},
      {"T:\\Projekte\\P100\\..\\..\\..\\ESCAPED", "T:\\ESCAPED"},
      {"\\\\srv\\share\\a\\..\\b", "\\\\srv\\share\\b"},
      {"\\\\srv\\share\\..\\..\\other\\x", "\\\\srv\\share\\other\\x"},
      {"\\\\srv\\share\\", "\\\\srv\\share\\"},
      {"\\\\srv\\share\\..", "\\\\srv\\share"},
      {"\\\\srv", "\\\\srv"},
  };
  for (const auto& [path, normal] : cases) EXPECT_EQ(NormalizeWindowsPath(path), normal) << path;
}

TEST(DriveMap, NoPathLeavesTheMappedFolder) {
  TempDir dir;
  DriveMap map;
  map.Add("T:", dir.Path() / "t");
  map.Add("\\\\quenda-fs\\projekte", dir.Path() / "projekte");
  map.Add("T:\\003", dir.Path() / "drei");
  EXPECT_EQ(map.Resolve("T:\\P100\\..\\..\\..\\ESCAPED\\x.dab"),
            dir.Path() / "t" / "ESCAPED" / "x.dab");
  EXPECT_EQ(map.Resolve("\\\\quenda-fs\\projekte\\..\\..\\tools"),
            dir.Path() / "projekte" / "tools");
  EXPECT_EQ(map.Resolve("T:\\003\\..\\004"), dir.Path() / "t" / "004")
      << "the path is resolved before its prefix is looked up, as on Windows";
  EXPECT_EQ(map.Resolve("T:\\004\\..\\003\\a"), dir.Path() / "drei" / "a");
  EXPECT_TRUE(map.CanResolve("T:\\..\\x"));
}

TEST(DriveMap, NativeAndRelativePathsAreNotMapped) {
  TempDir dir;
  DriveMap map;
  const std::string native = dir.File("a") + "\\b.txt";
  EXPECT_EQ(map.Resolve(native), dir.Path() / "a" / "b.txt");
  EXPECT_EQ(map.Resolve("RizaZizi.log"), fs::path("RizaZizi.log"));
}

TEST(DriveMap, UmlautNamesMatchTheUtf8FileName) {
  TempDir dir;
  fs::create_directories(dir.Path() / "t" / fs::path(u8"Prüfung"));
  DriveMap map;
  map.Add("T:", dir.Path() / "t");
  const fs::path resolved = map.Resolve(
      "T:\\PR\xDC"
      "FUNG\\x");
#ifdef _WIN32
  // The name as written: Windows finds the folder whatever the case.
  EXPECT_TRUE(fs::equivalent(resolved.parent_path(), dir.Path() / "t" / fs::path(u8"Prüfung")));
#else
  EXPECT_EQ(resolved, dir.Path() / "t" / fs::path(u8"Prüfung") / "x");
#endif
}

}  // namespace
}  // namespace quenda
