// A run killed at any instant (SIGKILL: a batch system's timeout, a power cut) leaves every
// file whole: old or as a complete run writes it, the job a well-formed job, the collection
// batch with its old lines and the new entry whole or absent. The next run ends normally.
#include <signal.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/sample_site.h"

namespace quenda {
namespace {

using testing::ExpectOldOrComplete;
using testing::SampleSite;

std::vector<std::string> Args(const SampleSite& s) {
  return {"--headless",
          "--program-dir",
          s.Path("site/program"),
          "--answers",
          s.Path("answers.txt"),
          "--",
          SampleSite::SampleCommandLine()};
}

void WriteAnswers(SampleSite& s) {
  std::string answers;
  for (const std::string& a : SampleSite::SampleAnswers()) answers += a + "\n";
  s.Write("answers.txt", answers);
}

TEST(KilledRuns, EveryInstantLeavesWholeFilesAndTheNextRunEndsNormally) {
  SampleSite reference;
  WriteAnswers(reference);
  const auto before = reference.SiteFiles();
  ASSERT_EQ(reference.Run(SampleSite::SampleAnswers()).status, 0);
  const auto after = reference.SiteFiles();

  constexpr int kKills = 60;
  for (int k = 0; k < kKills; ++k) {
    SampleSite s;
    WriteAnswers(s);
    const int pid = testing::StartQuenda(Args(s), s.Path("run"));
    std::this_thread::sleep_for(std::chrono::microseconds(k * 1500));  // spread over a run
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    ExpectOldOrComplete(s, before, after, "kill " + std::to_string(k));
    const auto next = s.Run(SampleSite::SampleAnswers());
    EXPECT_EQ(next.status, 0) << "kill " << k << ": the next run\n" << next.err;
  }
}

}  // namespace
}  // namespace quenda
