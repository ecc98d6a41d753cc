// What a replace keeps of its target on a POSIX system: the mode, the symbolic link; and the
// copy where the kernel cannot copy between two file systems.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/held_file.h"
#include "support/fake_system.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::TempDir;

mode_t ModeOf(const fs::path& path) {
  struct stat st {};
  EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 0777;
}

TEST(HeldFilePosix, ReplaceKeepsTheModeOfTheTarget) {
  TempDir dir;
  const Files files;
  for (const mode_t mode : {0640, 0600, 0664, 0755}) {
    dir.Write("job.xml", "alt");
    ASSERT_EQ(chmod((dir.Path() / "job.xml").c_str(), mode), 0);
    files.WriteAll(dir.File("job.xml"), "neu");
    EXPECT_EQ(ModeOf(dir.Path() / "job.xml"), mode) << std::oct << mode;
    files.Copy(dir.File("job.xml"), dir.File("job.xml"));
    EXPECT_EQ(ModeOf(dir.Path() / "job.xml"), mode) << "copy, " << std::oct << mode;
    EXPECT_EQ(dir.Read("job.xml"), "neu");
  }
}

// A replace through a link, a link to a link, and a link whose file does not exist yet:
// the links stay, the file at their end gets the content.
TEST(HeldFilePosix, ReplaceThroughSymbolicLinksWritesTheFileTheyPointTo) {
  TempDir dir;
  const Files files;
  fs::create_directory(dir.Path() / "real");
  dir.Write("real/job.xml", "alt");
  fs::create_symlink("real/job.xml", dir.Path() / "link.xml");
  fs::create_symlink(dir.Path() / "link.xml", dir.Path() / "linklink.xml");
  fs::create_symlink("real/new.xml", dir.Path() / "dangling.xml");
  const struct {
    const char* link;
    const char* file;
  } cases[] = {{"link.xml", "real/job.xml"},
               {"linklink.xml", "real/job.xml"},
               {"dangling.xml", "real/new.xml"}};
  for (const auto& c : cases) {
    files.WriteAll(dir.File(c.link), std::string("neu über ") + c.link);
    EXPECT_TRUE(fs::is_symlink(dir.Path() / c.link)) << c.link;
    EXPECT_EQ(dir.Read(c.file), std::string("neu über ") + c.link) << c.link;
  }
  fs::create_symlink("loop2.xml", dir.Path() / "loop1.xml");
  fs::create_symlink("loop1.xml", dir.Path() / "loop2.xml");
  try {
    files.WriteAll(dir.File("loop1.xml"), "x");
    ADD_FAILURE() << "a loop of links is refused";
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), kErrPathFileAccess);
    EXPECT_NE(e.Description().find("loop1.xml"), std::string::npos) << e.Description();
  }
}

// /dev/shm is another file system than the test folder: the kernel refuses to copy between
// them and the buffered loop copies instead, also beyond its buffer's size.
TEST(HeldFilePosix, CopyBetweenFileSystemsFallsBackToTheBufferedLoop) {
  const fs::path shm = "/dev/shm";
  if (!fs::is_directory(shm)) GTEST_SKIP() << "no /dev/shm";
  TempDir dir;
  const Files files;
  const fs::path source = shm / ("quenda-copy-" + std::to_string(getpid()));
  std::string content(2 * (1 << 20) + 17, 'q');
  content[1 << 20] = '\n';
  {
    std::FILE* f = std::fopen(source.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
  }
  files.Copy(source.string(), dir.File("copy.bin"));
  fs::remove(source);
  EXPECT_TRUE(dir.Read("copy.bin") == content);
}

// The temporary file is locked from its creation until it is closed; a clean-up takes it
// only then.
TEST(HeldFilePosix, TemporaryFileIsLockedFromCreationToClose) {
  TempDir dir;
  HeldFile held;
  const fs::path temp = dir.Path() / ".a.txt.tmp1";
  ASSERT_FALSE(held.Create(temp, dir.Path() / "a.txt"));
  EXPECT_TRUE(held.Create(temp, dir.Path() / "a.txt")) << "an existing name is not taken over";
  ASSERT_FALSE(held.Create(dir.Path() / ".a.txt.tmp2", dir.Path() / "a.txt"));
  EXPECT_FALSE(RemoveIfUnheld(dir.Path() / ".a.txt.tmp2")) << "held";
  EXPECT_TRUE(RemoveIfUnheld(temp)) << "let go by the second Create";
  held.Close();
  EXPECT_TRUE(RemoveIfUnheld(dir.Path() / ".a.txt.tmp2"));
  EXPECT_FALSE(fs::exists(dir.Path() / ".a.txt.tmp2"));
}

}  // namespace
}  // namespace quenda
