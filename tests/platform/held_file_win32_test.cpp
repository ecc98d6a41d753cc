// What a replace keeps of its target on Windows: its attributes; a copy does not take over
// its source's read-only attribute.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/held_file.h"
#include "support/fake_system.h"

#include <windows.h>

namespace quenda {
namespace {

using testing::TempDir;

DWORD AttributesOf(const std::filesystem::path& path) {
  return GetFileAttributesW(path.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
}

TEST(HeldFileWin32, ReplaceAndCopyKeepTheTargetsAttributes) {
  TempDir dir;
  const Files files;
  const std::filesystem::path job = dir.Path() / "job.xml";
  dir.Write("job.xml", "alt");
  ASSERT_TRUE(SetFileAttributesW(job.c_str(), FILE_ATTRIBUTE_HIDDEN));
  files.WriteAll(dir.File("job.xml"), "neu");
  EXPECT_EQ(AttributesOf(job), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN)) << "written";
  dir.Write("quelle.hex", "hex");
  const std::filesystem::path source = dir.Path() / "quelle.hex";
  ASSERT_TRUE(SetFileAttributesW(source.c_str(), FILE_ATTRIBUTE_READONLY));
  files.Copy(dir.File("quelle.hex"), dir.File("job.xml"));
  EXPECT_EQ(AttributesOf(job), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN)) << "copied onto";
  EXPECT_EQ(dir.Read("job.xml"), "hex");
  files.Copy(dir.File("quelle.hex"), dir.File("neu.hex"));
  EXPECT_EQ(AttributesOf(dir.Path() / "neu.hex"), 0u) << "a new copy is not read-only";
  SetFileAttributesW(source.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The clean-up cannot take a temporary file while its writer holds it, whether the writer
// wrote it or the system copied into it.
TEST(HeldFileWin32, HeldTemporaryFileRefusesTheCleanUp) {
  TempDir dir;
  dir.Write("quelle.hex", std::string(100000, 'h'));
  HeldFile written;
  HeldFile copied;
  const std::filesystem::path a = dir.Path() / ".a.hex.tmp1";
  const std::filesystem::path b = dir.Path() / ".b.hex.tmp1";
  ASSERT_FALSE(written.Create(a, dir.Path() / "a.hex"));
  ASSERT_FALSE(copied.Create(b, dir.Path() / "b.hex"));
  ASSERT_FALSE(copied.CopyFrom(dir.Path() / "quelle.hex"));
  EXPECT_FALSE(RemoveIfUnheld(a));
  EXPECT_FALSE(RemoveIfUnheld(b));
  ASSERT_FALSE(copied.Flush());
  ASSERT_FALSE(copied.RenameOnto(dir.Path() / "b.hex"));
  EXPECT_EQ(dir.Read("b.hex"), std::string(100000, 'h'));
  written.Close();
  EXPECT_TRUE(RemoveIfUnheld(a));
  EXPECT_FALSE(std::filesystem::exists(a));
}

}  // namespace
}  // namespace quenda
