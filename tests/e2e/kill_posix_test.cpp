// A run killed at any instant (SIGKILL: a batch system's timeout, a power cut) leaves every
// file whole: old or as a complete run writes it, the job a well-formed job, the collection
// batch with its old lines and the new entry whole or absent. The next run ends normally.
#include <signal.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/sample_site.h"
#include "xml/dom_wrapper.h"

namespace quenda {
namespace {

using testing::kJob;
using testing::kTarvell;
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

bool IsTemporaryOfAReplace(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return path.compare(slash + 1, 1, ".") == 0 && path.find(".tmp", slash) != std::string::npos;
}

bool LoadsAsJob(const SampleSite& s) {
  testing::SessionFixture f;
  DOMWrapper doc(f.S());
  try {
    doc.Load(s.Path(kJob));
    return doc.PosNodeByName("Envelope", "ToFlow");
  } catch (const Error&) {
    return false;
  }
}

TEST(KilledRuns, EveryInstantLeavesWholeFilesAndTheNextRunEndsNormally) {
  SampleSite reference;
  WriteAnswers(reference);
  const auto before = reference.SiteFiles();
  ASSERT_EQ(reference.Run(SampleSite::SampleAnswers()).status, 0);
  const auto after = reference.SiteFiles();
  const std::string oldEntries = before.at(kTarvell);
  const std::string newEntry = after.at(kTarvell).substr(oldEntries.size());
  ASSERT_FALSE(newEntry.empty());

  constexpr int kKills = 60;
  for (int k = 0; k < kKills; ++k) {
    SampleSite s;
    WriteAnswers(s);
    const int pid = testing::StartQuenda(Args(s), s.Path("run"));
    std::this_thread::sleep_for(std::chrono::microseconds(k * 1500));  // spread over a run
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    const std::string at = "kill " + std::to_string(k) + ": ";
    for (const auto& [path, bytes] : s.SiteFiles()) {
      if (IsTemporaryOfAReplace(path)) continue;
      if (path == kTarvell) {
        EXPECT_TRUE(bytes == oldEntries || bytes == oldEntries + newEntry) << at << bytes;
        continue;
      }
      if (path == kJob) {
        EXPECT_TRUE(LoadsAsJob(s)) << at << "the job file is a whole job";
        continue;
      }
      const auto old = before.find(path);
      const bool unchanged = old != before.end() && old->second == bytes;
      const auto complete = after.find(path);
      EXPECT_TRUE(unchanged || (complete != after.end() && complete->second == bytes))
          << at << path << " is old or whole";
    }
    const auto next = s.Run(SampleSite::SampleAnswers());
    EXPECT_EQ(next.status, 0) << at << "the next run\n" << next.err;
  }
}

}  // namespace
}  // namespace quenda
