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

#ifdef _WIN32
TEST(DriveMap, UnmappedWindowsPathIsUsedAsItIs) {
  DriveMap map;
  map.Add("T:", "C:\\nowhere");
  EXPECT_EQ(map.Resolve("X:\\daten\\job.xml"), fs::path("X:\\daten\\job.xml"));
  EXPECT_EQ(map.Resolve("\\\\other\\share\\a"), fs::path("\\\\other\\share\\a"));
  EXPECT_TRUE(map.CanResolve("\\\\other\\share"));
}
#else
TEST(DriveMap, UnmappedWindowsPathIsAnErrorNamingIt) {
  DriveMap map;
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
#endif

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
