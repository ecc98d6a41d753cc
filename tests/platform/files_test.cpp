#include "platform/files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "platform/atomic_file.h"
#include "platform/held_file.h"
#include "support/fake_system.h"
#include "support/write_faults.h"
#include "text/cp1252.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::TempDir;

TEST(Files, LinesEndInCrLfLfOrCr) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"", {}},
      {"\r\n", {""}},
      {"x\n\r", {"x", ""}},
  };
  for (const auto& [text, lines] : cases) {
    EXPECT_EQ(SplitTextLines(text), lines) << "text of " << text.size() << " bytes";
  }
}

TEST(Files, WriteLinesEndsEveryLineInCrLfAndRoundTrips) {
  TempDir dir;
  Files files;
  const std::string path = dir.File("out.txt");
  files.WriteLines(path, {"eins", "", "dr\xE4i"});
  EXPECT_EQ(dir.Read("out.txt"), "eins\r\n\r\ndr\xE4i\r\n");
  EXPECT_EQ(files.ReadLines(path), (std::vector<std::string>{"eins", "", "dr\xE4i"}));
  files.AppendLines(path, {"vier"});
  EXPECT_EQ(dir.Read("out.txt"), "eins\r\n\r\ndr\xE4i\r\nvier\r\n");
}

// Appended lines never continue a last line that lacks its line break.
TEST(Files, AppendedLinesStartOnALineOfTheirOwn) {
  const std::pair<std::string, std::string> cases[] = {
      {"", "neu\r\n"},       {"alt\r\n", "alt\r\nneu\r\n"}, {"alt", "alt\r\nneu\r\n"},
      {"a", "a\r\nneu\r\n"}, {"alt\n", "alt\n\r\nneu\r\n"}, {"alt\r", "alt\r\r\nneu\r\n"},
  };
  for (const auto& [before, after] : cases) {
    TempDir dir;
    Files files;
    dir.Write("t.bat", before);
    files.AppendLines(dir.File("t.bat"), {"neu"});
    EXPECT_EQ(dir.Read("t.bat"), after) << before;
    files.RewriteLines(dir.File("t.bat"), {"nur"});
    EXPECT_EQ(dir.Read("t.bat"), "nur\r\n") << before;
  }
}

TEST(Files, FailedAtomicWriteLeavesTheOldFile) {
  TempDir dir;
  Files files;
  dir.Write("keep.txt", "old content\r\n");
  {
    AtomicFile file(files, dir.File("keep.txt"));
    file.WriteLine("new content");
    // dropped without Commit, as when a run ends halfway
  }
  EXPECT_EQ(dir.Read("keep.txt"), "old content\r\n");
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.Path())) ++entries;
  EXPECT_EQ(entries, 1) << "the temporary file is removed";
}

TEST(Files, ReadOnlyTargetIsNotReplaced) {
  TempDir dir;
  Files files;
  dir.Write("ro.txt", "old");
  fs::permissions(dir.Path() / "ro.txt", fs::perms::owner_read, fs::perm_options::replace);
  try {
    files.WriteLines(dir.File("ro.txt"), {"new"});
    FAIL() << "a read-only file must not be replaced";
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), kErrPermissionDenied);
  }
  EXPECT_EQ(dir.Read("ro.txt"), "old");
  files.ResetAttributes(dir.File("ro.txt"));
  files.WriteLines(dir.File("ro.txt"), {"new"});
  EXPECT_EQ(dir.Read("ro.txt"), "new\r\n");
}

TEST(Files, ErrorsCarryPlatformNumbersAndThePath) {
  TempDir dir;
  Files files;
  struct Case {
    const char* what;
    std::function<void()> op;
    int number;
  } cases[] = {
      {"read missing", [&] { files.ReadAll(dir.File("none.txt")); }, kErrFileNotFound},
      {"copy missing", [&] { files.Copy(dir.File("none.txt"), dir.File("x")); }, kErrFileNotFound},
      {"delete missing", [&] { files.Remove(dir.File("none.txt")); }, kErrFileNotFound},
      {"write into missing folder", [&] { files.WriteLines(dir.File("no/dir.txt"), {"x"}); },
       kErrPathNotFound},
      {"create below missing folder", [&] { files.CreateFolder(dir.File("no/sub")); },
       kErrPathNotFound},
      {"read from missing folder", [&] { files.ReadAll(dir.File("no/dir.txt")); },
       kErrPathNotFound},
      {"append in missing folder", [&] { files.AppendLines(dir.File("no/dir.txt"), {"x"}); },
       kErrPathNotFound},
      {"name too long", [&] { files.WriteLines(dir.File(std::string(300, 'n')), {"x"}); },
       kErrBadFileName},
  };
  for (auto& c : cases) {
    try {
      c.op();
      ADD_FAILURE() << c.what << " did not fail";
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), c.number) << c.what;
      EXPECT_NE(e.Description().find(dir.Path().string()), std::string::npos)
          << c.what << ": " << e.Description();
    }
  }
}

// The run log's file: one holder at a time; a file its holder has closed (or a killed
// run has left) is free again and starts empty.
TEST(LineFile, HeldFileRefusesASecondHolderUntilClosed) {
  TempDir dir;
  const Files files;
  const std::string path = dir.File("RizaZizi.log");
  dir.Write("RizaZizi.log", "Zeile eines toten Laufs\r\n");
  LineFile first;
  ASSERT_TRUE(first.OpenHeld(files, path));
  EXPECT_EQ(dir.Read("RizaZizi.log"), "") << "a stale log is replaced";
  first.WriteLine("eins");
  LineFile second;
  EXPECT_FALSE(second.OpenHeld(files, path));
  EXPECT_FALSE(second.IsOpen());
  EXPECT_EQ(dir.Read("RizaZizi.log"), "eins\r\n") << "the holder's lines are not cut";
  first.Close();
  EXPECT_TRUE(second.OpenHeld(files, path));
  EXPECT_THROW(LineFile().OpenHeld(files, dir.File("fehlt/x.log")), Error);
}

// Appends from many writers at once keep every old line and add every new one whole.
TEST(Files, ConcurrentAppendsKeepEveryLineWhole) {
  TempDir dir;
  const Files files;
  const std::string path = dir.File("Tarvell.Bat");
  dir.Write("Tarvell.Bat", "alt\r\n");
  constexpr int kWriters = 8;
  constexpr int kAppends = 20;
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([&, w] {
      const std::string line(100000, static_cast<char>('a' + w));
      for (int i = 0; i < kAppends; ++i) files.AppendLines(path, {line});
    });
  }
  for (std::thread& t : writers) t.join();
  const std::vector<std::string> lines = files.ReadLines(path);
  ASSERT_EQ(lines.size(), 1u + kWriters * kAppends);
  EXPECT_EQ(lines[0], "alt");
  for (std::size_t i = 1; i < lines.size(); ++i) {
    ASSERT_EQ(lines[i], std::string(100000, lines[i][0])) << "line " << i << " is whole";
  }
}

// What a killed replace left is cleared by the next replace, whatever its age; a file a
// writer holds (another run replacing the file right now) stays, however old, and so do
// files that are not temporary files of the same file.
TEST(Files, NextReplaceRemovesUnheldTemporaryFilesOfTheSameFile) {
  TempDir dir;
  const Files files;
  for (const char* name : {".job.xml.tmp123", ".job.xml.tmp456", ".job.xml.tmpX", ".other.tmp1"}) {
    dir.Write(name, "halb");
  }
  HeldFile live;
  ASSERT_FALSE(live.Create(dir.Path() / ".job.xml.tmp789", dir.Path() / "job.xml"));
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(2);
  for (const char* name : {".job.xml.tmp123", ".job.xml.tmp789", ".job.xml.tmpX", ".other.tmp1"}) {
    std::error_code ec;  // Windows keeps the time of a held file as it is
    fs::last_write_time(dir.Path() / name, old, ec);
  }
  files.WriteAll(dir.File("job.xml"), "ganz");
  EXPECT_FALSE(fs::exists(dir.Path() / ".job.xml.tmp123")) << "old, not held: removed";
  EXPECT_FALSE(fs::exists(dir.Path() / ".job.xml.tmp456")) << "fresh, not held: removed";
  EXPECT_TRUE(fs::exists(dir.Path() / ".job.xml.tmp789")) << "held by a writer: stays";
  EXPECT_TRUE(fs::exists(dir.Path() / ".job.xml.tmpX")) << "not one of ours";
  EXPECT_TRUE(fs::exists(dir.Path() / ".other.tmp1")) << "another file's";
  EXPECT_EQ(dir.Read("job.xml"), "ganz");
  live.Close();
  files.WriteAll(dir.File("job.xml"), "wieder");
  EXPECT_FALSE(fs::exists(dir.Path() / ".job.xml.tmp789")) << "let go: removed";
}

// A replace flushes the data before the rename and the folder after it; an append flushes
// before its lock ends; a copy goes the replace's way.
TEST(Files, FlushesComeBeforeTheRenameAndTheFolderAfterIt) {
  TempDir dir;
  testing::WriteFaults faults;
  Files files;
  files.Watch(&faults);
  const std::string a = dir.File("a.txt");
  const std::string b = dir.File("b.txt");
  faults.RecordSteps();
  files.WriteLines(a, {"eins"});
  files.Copy(a, b);
  files.AppendLines(b, {"zwei"});
  const std::vector<std::string> expected = {
      "write " + a, "flush " + a,  "rename " + a, "folder " + a, "write " + b,
      "flush " + b, "rename " + b, "folder " + b, "append " + b, "flush " + b,
  };
  EXPECT_EQ(faults.Steps(), expected);
  EXPECT_EQ(dir.Read("b.txt"), "eins\r\nzwei\r\n");
}

// The copy streams through the system: a file far larger than any buffer arrives whole,
// and so do an empty file and one of a single byte.
TEST(Files, CopyOfLargeAndEmptyFilesIsExact) {
  TempDir dir;
  std::string big(3 * (1 << 20) + 4097, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 7919) >> 3);
  for (const bool fingerprint : {false, true}) {
    FileRecord record;
    record.Fingerprint(fingerprint);
    Files files;
    files.RecordIn(&record);
    for (const std::string& content : {big, std::string(), std::string("x")}) {
      record.AwaitRead(dir.File("in.bin"));
      dir.Write("in.bin", content);
      dir.Write("out.bin", "older and longer than the empty file");
      files.Copy(dir.File("in.bin"), dir.File("out.bin"));
      EXPECT_TRUE(dir.Read("out.bin") == content) << content.size() << " bytes";
      // One fingerprint of the source serves its read and the copy.
      const std::optional<FileDigest> read = record.Read(dir.File("in.bin"));
      ASSERT_EQ(read.has_value(), fingerprint);
      ASSERT_EQ(record.Written().size(), 1u);
      ASSERT_EQ(record.Written()[0].digest.has_value(), fingerprint);
      if (!fingerprint) continue;
      EXPECT_EQ(read->sha256, Sha256Hex(content));
      EXPECT_EQ(record.Written()[0].digest->sha256, Sha256Hex(content));
      EXPECT_EQ(record.Written()[0].digest->bytes, content.size());
      record = FileRecord();
      record.Fingerprint(true);
    }
  }
}

// Files that keep their record in `record`, with fingerprints wanted.
struct Fingerprinted {
  Fingerprinted() {
    record.Fingerprint(true);
    files.RecordIn(&record);
  }
  FileRecord record;
  Files files;
};

// Every way of writing records the fingerprint of the file as it ends, taken from the
// bytes it wrote (an append's from the old content read under its lock and the new lines).
TEST(Files, WritesAreFingerprintedAsWritten) {
  const std::pair<const char*,
                  void (Files::*)(const std::string&, const std::vector<std::string>&) const>
      kinds[] = {{"append", &Files::AppendLines},
                 {"rewrite", &Files::RewriteLines},
                 {"replace", &Files::WriteLines}};
  for (const auto& [name, write] : kinds) {
    TempDir dir;
    Fingerprinted f;
    FileRecord& record = f.record;
    Files& files = f.files;
    dir.Write("Tarvell.Bat", "REM ohne Zeilenende");
    (files.*write)(dir.File("Tarvell.Bat"), {"Tarvell.exe \"T:\\Müller\""_cp});
    ASSERT_EQ(record.Written().size(), 1u) << name;
    const std::optional<FileDigest>& digest = record.Written()[0].digest;
    ASSERT_TRUE(digest.has_value()) << name;
    const std::string now = dir.Read("Tarvell.Bat");
    EXPECT_EQ(digest->bytes, now.size()) << name;
    EXPECT_EQ(digest->sha256, Sha256Hex(now)) << name;
  }
}

// Only an awaited read is fingerprinted, and only its first: the input as the run took it.
TEST(Files, OnlyTheFirstAwaitedReadIsFingerprinted) {
  TempDir dir;
  Fingerprinted f;
  FileRecord& record = f.record;
  Files& files = f.files;
  dir.Write("job.xml", "vorher");
  files.ReadAll(dir.File("job.xml"));
  EXPECT_FALSE(record.Read(dir.File("job.xml")).has_value()) << "not awaited";
  record.AwaitRead(dir.File("job.xml"));
  files.ReadAll(dir.File("job.xml"));
  dir.Write("job.xml", "nachher, zurückgeschrieben");
  files.ReadAll(dir.File("job.xml"));
  ASSERT_TRUE(record.Read(dir.File("job.xml")).has_value());
  EXPECT_EQ(record.Read(dir.File("job.xml"))->sha256, Sha256Hex("vorher"));
}

TEST(Files, CopyCreateDeleteAndExistence) {
  TempDir dir;
  Files files;
  dir.Write("a.hex", std::string("\x00\x01\xFF", 3));
  files.CreateFolder(dir.File("kunde"));
  EXPECT_TRUE(files.FolderExists(dir.File("kunde")));
  EXPECT_FALSE(files.FileExists(dir.File("kunde")));
  files.Copy(dir.File("a.hex"), dir.File("kunde") + "\\a.hex");
  EXPECT_EQ(dir.Read("kunde/a.hex"), std::string("\x00\x01\xFF", 3));
  EXPECT_TRUE(files.SameFile(dir.File("kunde/a.hex"), dir.File("kunde") + "\\..\\kunde\\a.hex"));
  EXPECT_FALSE(files.SameFile(dir.File("a.hex"), dir.File("kunde/a.hex")));
  files.Remove(dir.File("a.hex"));
  EXPECT_FALSE(files.FileExists(dir.File("a.hex")));
  EXPECT_FALSE(files.FileExists("Q:\\unmapped.txt")) << "an unmapped path does not exist";
}

}  // namespace
}  // namespace quenda

namespace quenda {
namespace {

TEST(FilesFaultInjection, NthWritePointFailsAndLeavesTheOldFile) {
  testing::TempDir dir;
  testing::WriteFaults faults;
  Files files;
  files.Watch(&faults);
  // WriteLines passes three points (write, flush, rename); AppendLines two (append, flush).
  // A failed flush is a failed write: the old file stays, or the append is taken back.
  const struct {
    int n;
    const char* after;
  } cases[] = {{1, "alt\r\n"}, {2, "alt\r\n"}, {3, "alt\r\n"}, {4, "neu\r\n"}, {5, "neu\r\n"}};
  for (const auto& c : cases) {
    dir.Write("a.txt", "alt\r\n");
    faults.FailNthWrite(c.n, kErrDiskFull);
    try {
      files.WriteLines(dir.File("a.txt"), {"neu"});
      files.AppendLines(dir.File("a.txt"), {"mehr"});
      ADD_FAILURE() << "write point " << c.n << " did not fail";
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), kErrDiskFull) << "write point " << c.n;
      EXPECT_NE(e.Description().find(dir.File("a.txt")), std::string::npos) << e.Description();
    }
    EXPECT_EQ(dir.Read("a.txt"), c.after) << "write point " << c.n;
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.Path())) ++entries;
    EXPECT_EQ(entries, 1) << "write point " << c.n << ": no temporary file is left";
  }
  faults.FailNthWrite(0, 0);
  files.WriteLines(dir.File("a.txt"), {"x"});
  files.Copy(dir.File("a.txt"), dir.File("b.txt"));
  EXPECT_EQ(faults.WritePoints(), 6);
}

// A write cut short (a full disk) at the first byte and one short of the whole: an append or a
// rewrite leaves the file byte for byte as it was, a replace the old file and no temporary.
TEST(FilesFaultInjection, WriteCutShortLeavesTheFileAsItWas) {
  const std::string before = "Tarvell.exe \"T:\\a.dab||1||x|\"\r\nohne Zeilenende";
  const std::string line = "Tarvell.exe \"T:\\003\\MX21K47_.dab||7||p50|\"";
  const std::pair<std::size_t,
                  void (Files::*)(const std::string&, const std::vector<std::string>&) const>
      kinds[] = {{line.size() + 4, &Files::AppendLines},  // CR LF before the line and after it
                 {line.size() + 2, &Files::RewriteLines},
                 {line.size() + 2, &Files::WriteLines}};
  for (const auto& [whole, write] : kinds) {
    for (const std::size_t bytes : {std::size_t{0}, whole - 1}) {
      testing::TempDir dir;
      testing::WriteFaults faults;
      FileRecord written;
      Files files;
      files.Watch(&faults);
      files.RecordIn(&written);
      dir.Write("Tarvell.Bat", before);
      faults.ShortenNthWrite(1, bytes, kErrDiskFull);
      const std::string at = std::to_string(whole) + " bytes cut after " + std::to_string(bytes);
      try {
        (files.*write)(dir.File("Tarvell.Bat"), {line});
        ADD_FAILURE() << at << " did not fail";
      } catch (const Error& e) {
        EXPECT_EQ(e.Description(), "Datenträger voll: "_cp + dir.File("Tarvell.Bat")) << at;
      }
      EXPECT_EQ(dir.Read("Tarvell.Bat"), before) << at;
      EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator{}), 1)
          << at;
      EXPECT_TRUE(written.Written().empty()) << at;
    }
  }
}

}  // namespace
}  // namespace quenda
