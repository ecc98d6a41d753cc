// The built program writes the release report of a headless run and names it on the last
// line of standard error.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/sample_site.h"

namespace quenda {
namespace {

using testing::SampleSite;

std::string LastLine(const std::string& text) {
  std::string trimmed = text;
  while (!trimmed.empty() && (trimmed.back() == '\n' || trimmed.back() == '\r')) trimmed.pop_back();
  const std::size_t at = trimmed.find_last_of('\n');
  return at == std::string::npos ? trimmed : trimmed.substr(at + 1);
}

testing::RunResult RunWithReport(SampleSite& site) {
  std::string answers;
  for (const std::string& a : SampleSite::SampleAnswers()) answers += a + "\n";
  site.Write("answers.txt", answers);
  return testing::RunQuenda({"--headless", "--program-dir", site.Path("site/program"), "--answers",
                             site.Path("answers.txt"), "--report", site.Path("run/report.json"),
                             "--", SampleSite::SampleCommandLine()},
                            site.Path("run"));
}

TEST(ReportE2e, SampleRunReportsEveryFileWithItsSize) {
  SampleSite site;
  const testing::RunResult run = RunWithReport(site);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(LastLine(run.err), site.Path("run/report.json"));
  const nlohmann::json report = nlohmann::json::parse(site.Read("run/report.json"));
  EXPECT_EQ(report.at("exitStatus"), 0);
  const struct {
    std::string path, file;
  } files[] = {
      {"T:\\EDC21\\MX21K47\\0281020471\\MX21K47_02s.kon",
       std::string(testing::kCustomerFolder) + "MX21K47_02s.kon"},
      {"U:\\Freigaben\\Tarvell.Bat", testing::kTarvell},
      {"RizaZizi.log", "run/RizaZizi.log"},
  };
  for (const auto& f : files) {
    bool listed = false;
    for (const auto& entry : report.at("files")) {
      if (entry.at("path") != f.path) continue;
      listed = true;
      EXPECT_EQ(entry.at("bytes"), site.Read(f.file).size()) << f.path;
    }
    EXPECT_TRUE(listed) << f.path << " in " << report.at("files").dump();
  }
}

TEST(ReportE2e, RunEndedEarlyStillReports) {
  SampleSite site;
  site.Edit(testing::kJob, ">FLOW5<", ">SAP<");
  const testing::RunResult run = RunWithReport(site);
  ASSERT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(LastLine(run.err), site.Path("run/report.json"));
  const nlohmann::json report = nlohmann::json::parse(site.Read("run/report.json"));
  EXPECT_EQ(report.at("exitStatus"), 1);
  EXPECT_EQ(report.at("message"), "Der Job stammt nicht aus FLOW5 oder ToolTest");
}

}  // namespace
}  // namespace quenda
