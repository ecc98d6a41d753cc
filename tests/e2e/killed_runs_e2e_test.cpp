// A run killed at any instant (SIGKILL, TerminateProcess: a batch system's timeout, a power cut)
// leaves every file whole: old or as a complete run writes it, the job a well-formed job, the
// collection batch with its old lines and the new entry whole or absent. The next run ends
// normally.
#include <gtest/gtest.h>

#include <chrono>

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

#ifdef _WIN32
  constexpr int kKills = 15;  // a run under Wine takes about half a second
  constexpr std::chrono::microseconds kStep(35000);
#else
  constexpr int kKills = 60;
  constexpr std::chrono::microseconds kStep(1500);
#endif
  for (int k = 0; k < kKills; ++k) {
    SampleSite s;
    WriteAnswers(s);
    testing::RunQuendaKilledAfter(Args(s), s.Path("run"), k * kStep);  // spread over a run
    ExpectOldOrComplete(s, before, after, "kill " + std::to_string(k));
    const auto next = s.Run(SampleSite::SampleAnswers());
    EXPECT_EQ(next.status, 0) << "kill " << k << ": the next run\n" << next.err;
  }
}

}  // namespace
}  // namespace quenda
