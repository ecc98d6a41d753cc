#include "platform/mapped_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/error.h"
#include "platform/files.h"
#include "support/fake_system.h"

namespace quenda {
namespace {

using testing::TempDir;

TEST(MappedFile, HoldsTheFileBytesExactly) {
  TempDir dir;
  DriveMap map;
  map.Add("T:", dir.Path());
  const Files files(map);
  const std::string bytes = std::string("a\r\nb\0c\xE4\n", 9) + std::string(70000, 'x') + ";";
  dir.Write("Proj/store.osp", bytes);
  const MappedFile text(files, "t:\\proj\\STORE.osp");  // Windows path, other letter case
  EXPECT_TRUE(text.IsMapped());
  EXPECT_EQ(text.Text(), bytes);
}

TEST(MappedFile, EmptyFileAndDefaultGiveTheEmptyText) {
  TempDir dir;
  dir.Write("empty.osp", "");
  EXPECT_EQ(MappedFile(Files(), dir.File("empty.osp")).Text(), "");
  EXPECT_EQ(MappedFile().Text(), "");
}

TEST(MappedFile, FailuresAreThePlatformErrorsNamingThePath) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path() / "folder");
  const struct {
    std::string path;
    int number;
  } cases[] = {
      {dir.File("missing.osp"), kErrFileNotFound},
      {dir.File("no/missing.osp"), kErrPathNotFound},
      {dir.File("folder"), kErrPathFileAccess},
      {"Q:\\unmapped\\a.osp", kErrPathNotFound},
  };
  for (const auto& c : cases) {
    try {
      MappedFile text(Files(), c.path);
      ADD_FAILURE() << "no error for " << c.path;
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), c.number) << c.path;
      EXPECT_NE(e.Description().find(c.path), std::string::npos) << e.Description();
    }
  }
}

TEST(MappedFile, MovingKeepsTheTextAndEmptiesTheSource) {
  TempDir dir;
  dir.Write("a.osp", "mapped text;");
  MappedFile a(Files(), dir.File("a.osp"));
  MappedFile b(std::move(a));
  EXPECT_EQ(b.Text(), "mapped text;");
  EXPECT_EQ(a.Text(), "");  // NOLINT(bugprone-use-after-move): the moved-from state counts
  a = std::move(b);
  EXPECT_EQ(a.Text(), "mapped text;");
  a = MappedFile();
  EXPECT_EQ(a.Text(), "");
}

// Kernel files claim to be empty and are read instead; a text this short lives inside
// the buffer object, so a move must not leave it pointing into the old one.
TEST(MappedFile, FileClaimingToBeEmptyIsReadAndSurvivesMoves) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no files that claim to be empty";
#endif
  const std::string path = "/proc/sys/kernel/ostype";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no " << path;
  MappedFile a(Files(), path);
  EXPECT_FALSE(a.IsMapped());
  const std::string expected(a.Text());
  ASSERT_FALSE(expected.empty());
  MappedFile b(std::move(a));
  MappedFile c;
  c = std::move(b);
  EXPECT_EQ(c.Text(), expected);
  EXPECT_EQ(b.Text(), "");  // NOLINT(bugprone-use-after-move)
}

}  // namespace
}  // namespace quenda
