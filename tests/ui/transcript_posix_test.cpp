// A transcript whose line cannot be written whole: one dialog in a process of its own under
// a file-size limit at the length of the line and one byte short of it.
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

// Shows one OK box with the transcript at `path` under `limit` (none for 0) and ends the
// process: 10 when the transcript is whole, 11 when its failure names the file as a full disk.
int ShowOneBox(const std::string& path, rlim_t limit) {
  std::FILE* devnull = std::fopen(testing::kNullDevice, "w");
  HeadlessUi ui("", devnull, devnull);
  ui.SetTranscript(path);
  if (limit > 0) {
    FailWritesPastFileSizeLimit();
    const rlimit bytes{limit, limit};
    setrlimit(RLIMIT_FSIZE, &bytes);
  }
  ui.MsgBox("Text", 0, "Titel");
  const std::optional<Error> failure = ui.TranscriptFailure();
  std::fclose(devnull);
  return !failure ? 10 : failure->Description() == "Datenträger voll: "_cp + path ? 11 : 12;
}

TEST(TranscriptWrites, ALineCutByTheFileSizeLimitIsTold) {
  GTEST_FLAG_SET(death_test_style, "fast");
  testing::TempDir dir;
  ASSERT_EQ(ShowOneBox(dir.File("measured.jsonl"), 0), 10);
  const rlim_t line = dir.Read("measured.jsonl").size();
  for (const auto& [limit, exitCode] : {std::pair<rlim_t, int>{line, 10}, {line - 1, 11}}) {
    const std::string path = dir.File("t" + std::to_string(limit) + ".jsonl");
    EXPECT_EXIT(std::_Exit(ShowOneBox(path, limit)), ::testing::ExitedWithCode(exitCode), "")
        << "limit " << limit << " for a line of " << line << " bytes";
  }
}

}  // namespace
}  // namespace quenda
