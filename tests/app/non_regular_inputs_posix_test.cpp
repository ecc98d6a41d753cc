// Every reader of an input refuses a FIFO, a folder and a device by name, at once: the FIFO
// has no writer, so a reader that opened it for reading would wait for ever, and a device
// such as a zero device never ends. The nodes are made in the test's own folder.
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
#include "platform/mapped_file.h"
#include "platform/system.h"
#include "support/fake_system.h"
#include "table/cls_lib.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

using testing::TempDir;

enum class Node { kFifo, kFolder, kDevice };

// Makes `path` a node of `kind`; false when the system does not let this process make it.
bool MakeNode(const std::filesystem::path& path, Node kind) {
  switch (kind) {
    case Node::kFifo:
      return ::mkfifo(path.c_str(), 0600) == 0;
    case Node::kFolder:
      return std::filesystem::create_directory(path);
    case Node::kDevice: {
      // A node of the zero device (1, 5), made here; it must open, which a folder mounted
      // without devices forbids.
      if (::mknod(path.c_str(), S_IFCHR | 0600, makedev(1, 5)) != 0) return false;
      const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
      if (fd >= 0) ::close(fd);
      return fd >= 0;
    }
  }
  return false;
}

const char* NameOf(Node kind) {
  return kind == Node::kFifo ? "FIFO" : kind == Node::kFolder ? "folder" : "device";
}

// The text on the first line of `file`, read from its start.
std::string Written(std::FILE* file) {
  std::rewind(file);
  char line[4096] = {};
  return std::fgets(line, sizeof line, file) != nullptr ? line : "";
}

// One reader of an input: it reads the node at `path` (native) and gives the message of
// its refusal, CP1252 for an Error, the printed line for a command.
struct Reader {
  const char* name;
  const char* fileName;
  std::function<std::string(const std::string& path)> read;
};

std::string Refusal(const std::function<void()>& read) {
  try {
    read();
  } catch (const Error& e) {
    return e.Description();
  }
  return "no error";
}

std::vector<Reader> Readers() {
  return {
      {"ReadAll", "table.csv",
       [](const std::string& p) { return Refusal([&] { Files().ReadAll(p); }); }},
      {"table", "Config_012.csv",
       [](const std::string& p) {
         return Refusal([&] { clsLib(Files()).GetTextStreamAsRecordSet(p, ";", true); });
       }},
      {"list file", "Werke.csv",
       [](const std::string& p) { return Refusal([&] { Files().ReadLines(p); }); }},
      {"object store", "store.osp",
       [](const std::string& p) { return Refusal([&] { MappedFile(Files(), p); }); }},
      {"Config.ini", "Config.ini",
       [](const std::string& p) {
         Options options;
         options.programDir = std::filesystem::path(p).parent_path().string();
         auto system = MakeNativeSystem();
         return Refusal([&] { PrepareProgram(options, *system); });
       }},
      {"report of --verify", "report.json",
       [](const std::string& p) {
         Options options;
         options.verifyReport = p;
         auto system = MakeNativeSystem();
         std::FILE* err = std::tmpfile();
         EXPECT_EQ(RunVerify(options, *system, stdout, err), kExitBadOption) << p;
         const std::string line = Utf8ToCp1252(Written(err));
         std::fclose(err);
         return line;
       }},
      {"answers file", "answers.txt",
       [](const std::string& p) {
         bool ok = true;
         ReadNativeFile(p, ok);
         return Refusal([&] { ReadNativeInput(p, kMaxAnswersBytes); }) + (ok ? " (read)" : "");
       }},
  };
}

TEST(NonRegularInputs, EachReaderRefusesAFifoAFolderAndADeviceByName) {
  for (const Node kind : {Node::kFifo, Node::kFolder, Node::kDevice}) {
    for (const Reader& reader : Readers()) {
      TempDir dir;
      const std::filesystem::path path = dir.Path() / reader.fileName;
      if (!MakeNode(path, kind)) {
        ASSERT_EQ(kind, Node::kDevice) << "a FIFO and a folder can always be made";
        GTEST_SKIP() << "no device node may be made here";
      }
      const std::string message = reader.read(path.string());
      EXPECT_NE(message.find(path.string() + " ist keine gewöhnliche Datei"_cp), std::string::npos)
          << reader.name << " on a " << NameOf(kind) << ": " << Cp1252ToUtf8(message);
      EXPECT_EQ(message.find("(read)"), std::string::npos) << reader.name << " read it";
    }
  }
}

}  // namespace
}  // namespace quenda
