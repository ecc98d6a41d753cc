// Every reader of an input refuses a FIFO, a folder and a device by name, at once (a FIFO
// without a writer would block, a zero device never ends); inputs are read at their bound and
// refused one byte past it.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "app/options.h"
#include "app/program.h"
#include "app/verify_command.h"
#include "base/error.h"
#include "platform/files.h"
#include "platform/input_file.h"
#include "platform/mapped_file.h"
#include "platform/native_path.h"
#include "platform/system.h"
#include "support/fake_system.h"
#include "table/cls_lib.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

// Makes `path` a node of kind 0 (FIFO), 1 (folder) or 2 (zero device, which must open: a
// folder mounted without devices forbids that); false when this process may not.
bool MakeNode(const std::filesystem::path& path, int kind) {
  if (kind == 0) return ::mkfifo(path.c_str(), 0600) == 0;
  if (kind == 1) return std::filesystem::create_directory(path);
  if (::mknod(path.c_str(), S_IFCHR | 0600, makedev(1, 5)) != 0) return false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
  if (fd >= 0) ::close(fd);
  return fd >= 0;
}

// The number and description of the error `read` throws.
std::string Refusal(const std::function<void()>& read) {
  try {
    read();
  } catch (const Error& e) {
    return std::to_string(e.Number()) + " " + e.Description();
  }
  return "no error";
}

// The first line --verify prints of `report`, bounded at `bound`, in CP1252; it must refuse it.
std::string VerifyLine(const std::string& report, std::uintmax_t bound = kMaxReportBytes) {
  Options options;
  options.verifyReport = report;
  std::FILE* err = std::tmpfile();
  EXPECT_EQ(RunVerify(options, *MakeNativeSystem(), stdout, err, bound), kExitBadOption);
  std::rewind(err);
  char line[4096] = {};
  const bool told = std::fgets(line, sizeof line, err) != nullptr;
  std::fclose(err);
  return told ? Utf8ToCp1252(line) : std::string();
}

// The message of each reader's refusal of the node at `p`: CP1252 for an Error, the printed
// line for a command.
const std::pair<const char*, std::function<std::string(const std::string& p)>> kReaders[] = {
    {"table.csv", [](auto& p) { return Refusal([&] { Files().ReadAll(p); }); }},
    {"Config_012.csv",
     [](auto& p) {
       return Refusal([&] { clsLib(Files()).GetTextStreamAsRecordSet(p, ";", true); });
     }},
    {"store.osp", [](auto& p) { return Refusal([&] { MappedFile(Files(), p); }); }},
    {"Config.ini",
     [](auto& p) {
       Options options;
       options.programDir = std::filesystem::path(p).parent_path().string();
       return Refusal([&] { PrepareProgram(options, *MakeNativeSystem()); });
     }},
    {"report.json", [](auto& p) { return VerifyLine(p); }},
    {"answers.txt",
     [](auto& p) {
       bool ok = true;
       ReadNativeFile(p, ok);
       return Refusal([&] { ReadNativeInput(p, kMaxAnswersBytes); }) + (ok ? " (read)" : "");
     }},
};

TEST(NonRegularInputs, EachReaderRefusesAFifoAFolderAndADeviceByName) {
  for (const int kind : {0, 1, 2}) {
    for (const auto& [fileName, read] : kReaders) {
      testing::TempDir dir;
      const std::filesystem::path path = dir.Path() / fileName;
      if (!MakeNode(path, kind)) {
        ASSERT_EQ(kind, 2) << "a FIFO and a folder can always be made";
        GTEST_SKIP() << "no device node may be made here";
      }
      const std::string message = read(path.string());
      const std::string at = fileName + (" of kind " + std::to_string(kind)) + ": ";
      EXPECT_NE(message.find(path.string() + " ist keine gewöhnliche Datei"_cp), std::string::npos)
          << at << Cp1252ToUtf8(message);
      EXPECT_EQ(message.find("(read)"), std::string::npos) << at << "read";
    }
  }
  EXPECT_EQ(Refusal([] { ReadInputFile("/", "T:\\folder.csv"); }),
            "75 Fehler beim Zugriff auf Pfad/Datei: T:\\folder.csv ist keine gewöhnliche Datei"_cp);
  EXPECT_FALSE(IsNonRegularFile("/nonexistent/missing.csv"));
}

// The answers file at kMaxAnswersBytes and one past; the report of --verify at a bound of 100
// (judged: another schema) and one past, naming the bound.
TEST(InputFile, TheAnswersFileAndTheReportOfVerifyAreBounded) {
  testing::TempDir dir;
  const std::string answers = dir.File("answers.txt");
  for (const std::uintmax_t size : {kMaxAnswersBytes, kMaxAnswersBytes + 1}) {
    dir.Write("answers.txt", std::string(static_cast<std::size_t>(size), 'a'));
    bool ok = true;
    EXPECT_EQ(ReadNativeFile(answers, ok).size(), size == kMaxAnswersBytes ? size : 0u) << size;
    EXPECT_EQ(ok, size == kMaxAnswersBytes) << size;
  }
  EXPECT_EQ(Refusal([&] { ReadNativeInput(answers, kMaxAnswersBytes); }),
            "75 " + TextFromNative(answers) + " ist größer als 1048576 Bytes"_cp);
  const std::string head = "{\"schemaVersion\": 1}";
  for (const std::size_t size : {std::size_t{100}, std::size_t{101}}) {
    dir.Write("report.json", head + std::string(size - head.size(), ' '));
    EXPECT_NE(VerifyLine(dir.File("report.json"), 100)
                  .find(size == 100 ? "hat nicht schemaVersion 2" : "ist größer als 100 Bytes"_cp),
              std::string::npos)
        << size;
  }
}

}  // namespace
}  // namespace quenda
