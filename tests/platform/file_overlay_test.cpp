#include "platform/file_overlay.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "base/error.h"
#include "platform/files.h"
#include "support/fake_system.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::TempDir;

// Every file and folder below `root` with its bytes (folders: "<dir>").
std::map<std::string, std::string> Snapshot(const fs::path& root) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string name = fs::relative(entry.path(), root).string();
    if (entry.is_directory()) {
      entries[name] = "<dir>";
    } else {
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream bytes;
      bytes << in.rdbuf();
      entries[name] = bytes.str();
    }
  }
  return entries;
}

struct PlanFixture {
  PlanFixture() {
    dir.Write("alt.txt", "a\r\n");
    dir.Write("gleich.txt", "g\r\n");
    dir.Write("liste.bat", "eins");
    dir.Write("weg.err", "x");
    files.PlanIn(&overlay);
  }
  TempDir dir;
  FileOverlay overlay;
  Files files;
};

TEST(FileOverlay, PlannedWritesLeaveTheDiskAsItWasAndAreReadBack) {
  PlanFixture p;
  const auto before = Snapshot(p.dir.Path());
  p.files.WriteLines(p.dir.File("neu.txt"), {"n"});
  p.files.WriteLines(p.dir.File("alt.txt"), {"b"});
  p.files.AppendLines(p.dir.File("liste.bat"), {"zwei"});
  p.files.CreateFolder(p.dir.File("ordner"));
  p.files.WriteAll(p.dir.File("ordner/innen.hex"), "hex");
  p.files.Copy(p.dir.File("ordner/innen.hex"), p.dir.File("kopie.hex"));
  p.files.Remove(p.dir.File("weg.err"));
  p.files.ResetAttributes(p.dir.File("alt.txt"));
  EXPECT_EQ(Snapshot(p.dir.Path()), before);
  EXPECT_EQ(p.files.ReadAll(p.dir.File("neu.txt")), "n\r\n");
  EXPECT_EQ(p.files.ReadAll(p.dir.File("liste.bat")), "eins\r\nzwei\r\n");
  EXPECT_EQ(p.files.ReadAll(p.dir.File("kopie.hex")), "hex");
  EXPECT_TRUE(p.files.FolderExists(p.dir.File("ordner")));
  EXPECT_TRUE(p.files.FileExists(p.dir.File("ordner/innen.hex")));
  EXPECT_FALSE(p.files.FileExists(p.dir.File("weg.err")));
  EXPECT_EQ(p.overlay.Folders(), std::vector<std::string>{p.dir.File("ordner")});
}

TEST(FileOverlay, EachFileHasTheActionOfItsBytesBeforeAndAfter) {
  PlanFixture p;
  p.files.WriteLines(p.dir.File("neu.txt"), {"n"});
  p.files.WriteLines(p.dir.File("alt.txt"), {"b"});
  p.files.WriteLines(p.dir.File("gleich.txt"), {"g"});
  p.files.AppendLines(p.dir.File("liste.bat"), {"zwei"});
  p.files.Remove(p.dir.File("weg.err"));
  p.files.WriteLines(p.dir.File("kurz.err"), {"k"});
  p.files.Remove(p.dir.File("kurz.err"));  // created and removed: no change at all
  const std::vector<PlannedFile> changes = p.overlay.Changes();
  const std::pair<std::string, PlannedAction> expected[] = {
      {"neu.txt", PlannedAction::kCreate},       {"alt.txt", PlannedAction::kReplace},
      {"gleich.txt", PlannedAction::kUnchanged}, {"liste.bat", PlannedAction::kAppend},
      {"weg.err", PlannedAction::kRemove},
  };
  ASSERT_EQ(changes.size(), std::size(expected));
  for (std::size_t i = 0; i < changes.size(); ++i) {
    EXPECT_EQ(changes[i].path, p.dir.File(expected[i].first)) << i;
    EXPECT_EQ(changes[i].Action(), expected[i].second) << changes[i].path;
  }
  EXPECT_EQ(changes[3].Appended(), "\r\nzwei\r\n");
  EXPECT_EQ(changes[1].Appended(), "");
}

TEST(FileOverlay, AnAppendAfterAReplaceIsAReplace) {
  PlanFixture p;
  p.files.RewriteLines(p.dir.File("liste.bat"), {"neu"});
  p.files.AppendLines(p.dir.File("liste.bat"), {"dazu"});
  ASSERT_EQ(p.overlay.Changes().size(), 1u);
  EXPECT_EQ(p.overlay.Changes()[0].Action(), PlannedAction::kReplace);
  EXPECT_EQ(*p.overlay.Changes()[0].after, "neu\r\ndazu\r\n");
}

TEST(FileOverlay, WritesThatWouldFailFailAsOnTheDisk) {
  PlanFixture p;
  const std::string missing = p.dir.File("fehlt/x.txt");
  for (const auto& write : std::vector<std::function<void()>>{
           [&] { p.files.WriteLines(missing, {"x"}); },
           [&] { p.files.AppendLines(missing, {"x"}); },
           [&] { p.files.CreateFolder(p.dir.File("fehlt/unter")); },
           [&] { p.files.Copy(p.dir.File("nicht.hex"), p.dir.File("k.hex")); },
           [&] { p.files.Remove(p.dir.File("nicht.err")); },
       }) {
    EXPECT_THROW(write(), Error);
  }
  p.files.Remove(p.dir.File("weg.err"));
  try {
    p.files.ReadAll(p.dir.File("weg.err"));
    ADD_FAILURE() << "a removed file was read";
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), kErrFileNotFound) << e.Description();
  }
  EXPECT_TRUE(p.overlay.Changes().size() == 1u);
}

TEST(FileOverlay, TheRunsOwnFilesGoToTheDisk) {
  PlanFixture p;
  p.files.KeepOnDisk(p.dir.File("xx.txt"));
  p.files.WriteLines(p.dir.File("xx.txt"), {"trace"});
  EXPECT_EQ(p.dir.Read("xx.txt"), "trace\r\n");
  EXPECT_TRUE(p.overlay.Changes().empty());
}

TEST(FileOverlay, PlannedFilesAreRecordedWithTheirFingerprint) {
  PlanFixture p;
  FileRecord record;
  record.Fingerprint(true);
  p.files.RecordIn(&record);
  p.files.WriteAll(p.dir.File("neu.txt"), "abc");
  ASSERT_EQ(record.Written().size(), 1u);
  ASSERT_TRUE(record.Written()[0].digest.has_value());
  EXPECT_EQ(record.Written()[0].digest->bytes, 3u);
  EXPECT_EQ(record.Written()[0].digest->sha256,
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

}  // namespace
}  // namespace quenda
