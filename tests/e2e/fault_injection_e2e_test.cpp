// The sample job run once per file write point, with that write failing (disk full, access
// denied, or a disk that fills up after a few bytes of the write): every file that existed
// before is afterwards unchanged or completely replaced, never cut short, and no temporary
// file is left behind.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>

#include "app/headless.h"
#include "app/options.h"
#include "app/program.h"
#include "base/error.h"
#include "platform/system.h"
#include "session/session.h"
#include "support/sample_site.h"
#include "support/write_faults.h"
#include "ui/headless_ui.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::kJob;
using testing::SampleSite;

using Snapshot = std::map<std::string, std::string>;  // site-relative path -> bytes

constexpr int kCrashed = 86;  // the status of a run ended by the crash switch

Snapshot Files(const SampleSite& s) { return s.SiteFiles(); }

struct Outcome {
  int status = -1;
  int writePoints = 0;
};

// Runs the sample job in this process with the `failAt`-th write failing (0: none) with
// the platform error `number` (after `cutAfter` of its bytes when given), or with the
// process ending there when `crash`.
Outcome RunSample(SampleSite& s, int failAt, int number = kErrDiskFull, bool crash = false,
                  std::size_t cutAfter = SIZE_MAX) {
  std::string answers;
  for (const std::string& a : SampleSite::SampleAnswers()) answers += a + "\n";
  std::FILE* devnull = std::fopen(testing::kNullDevice, "w");
  HeadlessUi ui(answers, devnull, devnull);
  auto system = MakeNativeSystem();
  Options options;
  options.programDir = s.Path("site/program");
  options.words = {SampleSite::SampleCommandLine()};
  testing::WriteFaults faults;
  auto session = MakeSession(options, ui, *system);
  session->files.Watch(&faults);
  // On Windows the text comes from the process's own command line; this one is a test's.
  session->env.CommandLineText = SampleSite::SampleCommandLine();
  session->state.AktDirName = s.Path("run") + "/";  // the current folder of the run
  if (crash) {
    faults.CrashAtNthWrite(failAt, kCrashed);
  } else if (cutAfter != SIZE_MAX) {
    faults.ShortenNthWrite(failAt, cutAfter, number);
  } else {
    faults.FailNthWrite(failAt, number);
  }
  Outcome outcome;
  outcome.status = RunSession(*session);  // as the headless front end runs it
  outcome.writePoints = faults.WritePoints();
  session.reset();
  std::fclose(devnull);
  return outcome;
}

TEST(FaultInjection, EveryWritePointLeavesFilesWholeOrUnchanged) {
  SampleSite reference;
  const Snapshot before = Files(reference);
  const Outcome clean = RunSample(reference, 0);
  ASSERT_EQ(clean.status, 0) << "the sample job runs without a fault";
  ASSERT_GT(clean.writePoints, 10);
  RecordProperty("write_points", clean.writePoints);
  const Snapshot after = Files(reference);
  std::set<std::string> jobVersions;
  for (int point = 0; point < 3 * clean.writePoints; ++point) {
    const int n = point % clean.writePoints + 1;
    const int pass = point / clean.writePoints;  // full disk, access denied, cut after 5 bytes
    const int number = pass == 1 ? kErrPermissionDenied : kErrDiskFull;
    SampleSite s;
    const Outcome faulty = RunSample(s, n, number, false, pass == 2 ? 5 : SIZE_MAX);
    EXPECT_NE(faulty.status, -1) << "write point " << n << ": the run ended in order";
    for (const auto& [path, bytes] : Files(s)) {
      EXPECT_EQ(path.find(".tmp"), std::string::npos) << "write point " << n << ": " << path;
      const auto old = before.find(path);
      if (old == before.end() || bytes == old->second) continue;
      if (path == kJob) {
        jobVersions.insert(bytes);
        EXPECT_TRUE(testing::LoadsAsJob(s))
            << "write point " << n << ": the job file is a whole job";
        continue;
      }
      EXPECT_EQ(bytes, after.at(path))
          << "write point " << n << ": " << path << " is unchanged or completely replaced";
    }
  }
  EXPECT_LE(jobVersions.size(), 1u) << "the job is written back in one whole step";
}

#ifndef _WIN32
// The process ending at each write point in turn, as a kill or a power cut ends it there:
// files stay old or whole, and the next run on the same site ends normally.
TEST(FaultInjection, CrashAtEveryWritePointLeavesWholeFilesAndTheNextRunEndsNormally) {
  SampleSite reference;
  const Snapshot before = Files(reference);
  const Outcome clean = RunSample(reference, 0);
  ASSERT_EQ(clean.status, 0);
  const Snapshot after = Files(reference);
  for (int n = 1; n <= clean.writePoints; ++n) {
    SampleSite s;
    const pid_t pid = fork();
    if (pid == 0) {
      RunSample(s, n, 0, /*crash=*/true);
      std::_Exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const std::string at = "crash at write point " + std::to_string(n);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kCrashed) << at;
    testing::ExpectOldOrComplete(s, before, after, at);
    EXPECT_EQ(RunSample(s, 0).status, 0) << at << ": the next run";
  }
}
#endif

}  // namespace
}  // namespace quenda
