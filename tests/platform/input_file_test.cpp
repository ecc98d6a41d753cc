// Inputs are read within their bound: at it, and refused one byte past it.
#include "platform/input_file.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/options.h"
#include "app/program.h"
#include "app/verify_command.h"
#include "platform/native_path.h"
#include "platform/system.h"
#include "support/fake_system.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

using testing::TempDir;

std::string ErrorOf(const std::function<void()>& read) {
  try {
    read();
  } catch (const Error& e) {
    return std::to_string(e.Number()) + " " + e.Description();
  }
  return "no error";
}

// The answers file of --answers: read at kMaxAnswersBytes, refused one byte past it.
TEST(InputFile, TheAnswersFileIsBoundedAtOneMebibyte) {
  TempDir dir;
  for (const std::uintmax_t size : {kMaxAnswersBytes, kMaxAnswersBytes + 1}) {
    dir.Write("answers.txt", std::string(static_cast<std::size_t>(size), 'a'));
    bool ok = true;
    const std::string text = ReadNativeFile(dir.File("answers.txt"), ok);
    EXPECT_EQ(ok, size == kMaxAnswersBytes) << size;
    EXPECT_EQ(text.size(), ok ? size : 0u) << size;
  }
  EXPECT_EQ(ErrorOf([&] { ReadNativeInput(dir.File("answers.txt"), kMaxAnswersBytes); }),
            "75 " + TextFromNative(dir.File("answers.txt")) + " ist größer als 1048576 Bytes"_cp);
}

// The report of --verify: judged at its bound (here a report of another schema), refused
// one byte past it, naming the bound.
TEST(InputFile, TheReportOfVerifyIsBounded) {
  TempDir dir;
  const std::string head = "{\"schemaVersion\": 1}";
  auto system = MakeNativeSystem();
  Options options;
  options.verifyReport = dir.File("report.json");
  for (const std::size_t size : {std::size_t{100}, std::size_t{101}}) {
    dir.Write("report.json", head + std::string(size - head.size(), ' '));
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(RunVerify(options, *system, stdout, err, 100), kExitBadOption) << size;
    std::rewind(err);
    char line[4096] = {};
    ASSERT_NE(std::fgets(line, sizeof line, err), nullptr);
    std::fclose(err);
    const std::string expected =
        size == 100 ? "hat nicht schemaVersion 2" : "ist größer als 100 Bytes";
    EXPECT_NE(std::string(line).find(expected), std::string::npos) << size << ": " << line;
  }
}

}  // namespace
}  // namespace quenda
