// Runs of several jobs that a batch system starts at the same time under one account: they
// share the temporary folder and the collection batch file, each in its own current folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "support/sample_site.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::kTarvell;
using testing::RunResult;
using testing::SampleSite;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// Runs a job of its own, a copy of the sample job named after `folder`, headless in
// `folder` (created here): the runs share the site, the temporary folder and Tarvell.Bat.
RunResult RunIn(SampleSite& s, const std::string& folder) {
  fs::create_directories(s.Path(folder));
  const std::string job = "Job_4711_" + folder + ".xml";
  fs::copy_file(s.Path(testing::kJob), s.Path("site/shares/projekte/003/Flow/Transfer/" + job));
  std::string commandLine = SampleSite::SampleCommandLine();
  commandLine.replace(commandLine.find("Job_4711.xml"), 12, job);
  return testing::RunQuenda({"--headless", "--program-dir", s.Path("site/program"), "--answers",
                             s.Path("answers.txt"), "--", commandLine},
                            s.Path(folder));
}

TEST(ConcurrentRuns, FourRunsSharingTheTemporaryFolderEachKeepTheirLogAndEntry) {
  SampleSite s;
  std::string answers;
  for (const std::string& a : SampleSite::SampleAnswers()) answers += a + "\n";
  s.Write("answers.txt", answers);
  const std::string oldEntries = s.Read(kTarvell);
  const RunResult first = RunIn(s, "run0");  // alone: the log every run must get
  ASSERT_EQ(first.status, 0) << first.err;
  const std::string log = s.Read("run0/RizaZizi.log");
  ASSERT_NE(log.find("DAM-S-QUENDA-STARTED"), std::string::npos);

  constexpr int kRuns = 4;
  std::vector<RunResult> results(kRuns);
  std::vector<std::thread> runs;
  for (int i = 0; i < kRuns; ++i) {
    runs.emplace_back([&, i] { results[i] = RunIn(s, "run" + std::to_string(i + 1)); });
  }
  for (std::thread& t : runs) t.join();

  for (int i = 0; i < kRuns; ++i) {
    const std::string folder = "run" + std::to_string(i + 1);
    EXPECT_EQ(results[i].status, 0) << folder << "\n" << results[i].err;
    EXPECT_EQ(s.Read(folder + "/RizaZizi.log"), log) << folder << ": the whole log of its run";
  }
  EXPECT_TRUE(fs::is_empty(s.Path("tmp"))) << "no log is left in the temporary folder";
  const std::vector<std::string> entries = Lines(s.Read(kTarvell));
  ASSERT_EQ(entries.size(), Lines(oldEntries).size() + 1 + kRuns) << s.Read(kTarvell);
  EXPECT_EQ(s.Read(kTarvell).rfind(oldEntries, 0), 0u) << "the old entries stay first";
  const std::string entry = entries.back();
  EXPECT_EQ(std::count(entries.begin(), entries.end(), entry), 1 + kRuns)
      << "every run appended the same whole entry";
}

}  // namespace
}  // namespace quenda
