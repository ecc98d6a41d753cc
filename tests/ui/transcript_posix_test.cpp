// A transcript whose lines cannot all be written: each case writes one dialog in a process
// of its own under a file-size limit, at the length of the line and one byte short of it.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

#include "platform/stop_request.h"
#include "support/fake_system.h"
#include "text/cp1252.h"
#include "ui/headless_ui.h"

namespace quenda {
namespace {

constexpr int kWhole = 10;
constexpr int kTold = 11;
constexpr int kOther = 12;

// Shows one OK box with the transcript at `path` and ends the process: kWhole when the
// transcript is whole, kTold when its failure names the file as a full disk.
[[noreturn]] void ShowOneBox(const std::string& path, rlim_t limit) {
  std::FILE* devnull = std::fopen(testing::kNullDevice, "w");
  HeadlessUi ui("", devnull, devnull);
  ui.SetTranscript(path);
  FailWritesPastFileSizeLimit();
  const rlimit bytes{limit, limit};
  setrlimit(RLIMIT_FSIZE, &bytes);
  ui.MsgBox("Text", 0, "Titel");
  const std::optional<Error> failure = ui.TranscriptFailure();
  if (!failure) std::_Exit(kWhole);
  std::_Exit(failure->Description() == "Datenträger voll: "_cp + path ? kTold : kOther);
}

TEST(TranscriptWrites, ALineCutByTheFileSizeLimitIsTold) {
  GTEST_FLAG_SET(death_test_style, "fast");
  testing::TempDir dir;
  const std::string measured = dir.File("measured.jsonl");
  {
    std::FILE* devnull = std::fopen(testing::kNullDevice, "w");
    HeadlessUi ui("", devnull, devnull);
    ui.SetTranscript(measured);
    ui.MsgBox("Text", 0, "Titel");
    ASSERT_FALSE(ui.TranscriptFailure());
    std::fclose(devnull);
  }
  const rlim_t line = dir.Read("measured.jsonl").size();
  const struct {
    rlim_t limit;
    int exitCode;
  } cases[] = {{line, kWhole}, {line - 1, kTold}, {0, kTold}};
  for (const auto& c : cases) {
    const std::string path = dir.File("t" + std::to_string(c.limit) + ".jsonl");
    EXPECT_EXIT(ShowOneBox(path, c.limit), ::testing::ExitedWithCode(c.exitCode), "")
        << "limit " << c.limit << " for a line of " << line << " bytes";
  }
}

}  // namespace
}  // namespace quenda
