// The hand-over of the run log's common name between runs: a newcomer whose open meets a
// holder moving its log away (at the seam between the newcomer's open and its lock) holds
// the file at the name afterwards, never the moved one, and the holder copies its own
// lines through its handle.
#include "platform/file_lock.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/fake_system.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

void Write(std::FILE* file, const std::string& text) {
  ASSERT_EQ(std::fwrite(text.data(), 1, text.size(), file), text.size());
  ASSERT_EQ(std::fflush(file), 0);
}

// True when `file` is the file that `path` names.
bool HoldsTheFileAt(std::FILE* file, const fs::path& path) {
  struct stat held {};
  struct stat named {};
  return fstat(fileno(file), &held) == 0 && stat(path.c_str(), &named) == 0 &&
         held.st_ino == named.st_ino && held.st_dev == named.st_dev;
}

// The end of a holder's run as TerminateRun does it: its lines read through its handle,
// the name deleted while still held, then the handle closed.
std::string EndOfRun(std::FILE*& holder, const fs::path& path) {
  std::string lines;
  EXPECT_TRUE(ReadHeldFile(holder, lines));
  fs::remove(path);
  std::fclose(holder);
  holder = nullptr;
  return lines;
}

class HandOver : public ::testing::Test {
 protected:
  void TearDown() override { SetProbeBetweenOpenAndLock({}); }
  fs::path Log() const { return dir.Path() / "RizaZizi.log"; }
  testing::TempDir dir;
};

TEST_F(HandOver, AHolderMovingItsLogBetweenOpenAndLockLeavesTheNewcomerTheNewFile) {
  // Runs A, B and C in turn, each newcomer opening while the holder ends its run.
  std::FILE* a = nullptr;
  ASSERT_EQ(OpenHeldFile(Log(), a), LockedOpen::kOpened);
  Write(a, "A1\r\nA2\r\n");
  std::string endOfA;
  int probes = 0;
  SetProbeBetweenOpenAndLock([&] {
    if (++probes == 1) endOfA = EndOfRun(a, Log());
  });
  std::FILE* b = nullptr;
  ASSERT_EQ(OpenHeldFile(Log(), b), LockedOpen::kOpened);
  EXPECT_EQ(endOfA, "A1\r\nA2\r\n");
  EXPECT_EQ(probes, 2) << "the moved file let go and the name opened again";
  ASSERT_TRUE(HoldsTheFileAt(b, Log())) << "B holds the file at the name, not A's moved one";
  Write(b, "B1\r\n");

  std::string endOfB;
  probes = 0;
  SetProbeBetweenOpenAndLock([&] {
    if (++probes == 1) endOfB = EndOfRun(b, Log());
  });
  std::FILE* c = nullptr;
  ASSERT_EQ(OpenHeldFile(Log(), c), LockedOpen::kOpened);
  EXPECT_EQ(endOfB, "B1\r\n") << "B's whole log, not C's empty one";
  ASSERT_TRUE(HoldsTheFileAt(c, Log()));
  Write(c, "C1\r\n");
  std::string lines;
  EXPECT_TRUE(ReadHeldFile(c, lines));
  EXPECT_EQ(lines, "C1\r\n");
  EXPECT_EQ(dir.Read("RizaZizi.log"), "C1\r\n");
  std::fclose(c);
}

TEST_F(HandOver, AFileRemovedBeforeItIsHeldIsMadeAgain) {
  // Another run clearing the logs of killed runs removes this run's new, not yet held log.
  int probes = 0;
  SetProbeBetweenOpenAndLock([&] {
    if (++probes == 1) fs::remove(Log());
  });
  std::FILE* log = nullptr;
  ASSERT_EQ(OpenHeldFile(Log(), log), LockedOpen::kOpened);
  EXPECT_EQ(probes, 2);
  ASSERT_TRUE(HoldsTheFileAt(log, Log()));
  std::fclose(log);
}

TEST_F(HandOver, ALiveHolderKeepsItsFileAndItsLines) {
  std::FILE* holder = nullptr;
  ASSERT_EQ(OpenHeldFile(Log(), holder), LockedOpen::kOpened);
  Write(holder, "eins\r\n");
  std::FILE* newcomer = nullptr;
  EXPECT_EQ(OpenHeldFile(Log(), newcomer), LockedOpen::kInUse);
  EXPECT_EQ(newcomer, nullptr);
  Write(holder, "zwei\r\n");
  std::string lines;
  EXPECT_TRUE(ReadHeldFile(holder, lines));
  EXPECT_EQ(lines, "eins\r\nzwei\r\n") << "the newcomer cut nothing";
  Write(holder, "drei\r\n");
  EXPECT_EQ(dir.Read("RizaZizi.log"), "eins\r\nzwei\r\ndrei\r\n") << "a read keeps the place";
  std::fclose(holder);
}

}  // namespace
}  // namespace quenda
