// The sample run when a resource runs out, each in a process of its own: memory running out
// in the middle of the load (std::bad_alloc from a step) and a file-size limit on the
// built program. Both end in order with status 1: a German message, the run log moved,
// the error file, the report, and no temporary file of a replace left behind.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <new>

#include "app/headless.h"
#include "app/options.h"
#include "app/program.h"
#include "app/run_report.h"
#include "session/session.h"
#include "support/sample_site.h"
#include "text/cp1252.h"
#include "ui/headless_ui.h"

namespace quenda {
namespace {

using testing::LeftoverTemporaryFiles;
using testing::SampleSite;

// Headless answers until the first input box, where memory runs out.
class ExhaustedUi : public HeadlessUi {
 public:
  using HeadlessUi::HeadlessUi;

 protected:
  std::string ShowInput(const std::string&, const std::string&, const std::string&) override {
    throw std::bad_alloc();
  }
};

std::string SampleAnswers() {
  std::string answers;
  for (const std::string& a : SampleSite::SampleAnswers()) answers += a + "\n";
  return answers;
}
// The headless front end in this process, as RunHeadless runs it, with ExhaustedUi.
int RunOutOfMemory(SampleSite& site) {
  std::FILE* devnull = std::fopen(testing::kNullDevice, "w");
  ExhaustedUi ui(SampleAnswers(), devnull, devnull);
  testing::FakeSystem system;
  system.tempPath = site.Path("tmp") + "/";
  Options options;
  options.programDir = site.Path("site/program");
  options.reportFile = site.Path("run/report.json");
  std::unique_ptr<Session> session = MakeSession(options, ui, system);
  session->env.CommandLineText = SampleSite::SampleCommandLine();
  session->state.AktDirName = site.Path("run") + "/";
  return FinishRequestedRecords(*session, options, RunSession(*session), stderr, true);
}

// The built program on the sample under a file-size limit of 2048 bytes, which lies between
// the run log and the job, written back first; its standard error is passed on.
int RunUnderFileSizeLimit(SampleSite& site) {
  site.Write("answers.txt", SampleAnswers());
  const rlimit limit{2048, 2048};
  setrlimit(RLIMIT_FSIZE, &limit);
  const auto r =
      testing::RunQuenda({"--headless", "--program-dir", site.Path("site/program"), "--answers",
                          site.Path("answers.txt"), "--report", site.Path("run/report.json"), "--",
                          SampleSite::SampleCommandLine()},
                         site.Path("run"));
  std::fputs(r.err.c_str(), stderr);
  return r.status;
}

// `run` ends with status 1, telling `told` (UTF-8, a regular expression) on standard error
// and leaving an error file that starts with `errorFile` (CP1252).
void ExpectOrderlyEnd(int (*run)(SampleSite&), const std::string& told,
                      const std::string& errorFile, bool reportWritten) {
  GTEST_FLAG_SET(death_test_style, "fast");
  SampleSite site;
  EXPECT_EXIT(std::_Exit(run(site)), ::testing::ExitedWithCode(1), told);
  const std::string err = site.Read("tmp/SG_4711.err");
  EXPECT_EQ(err.rfind(errorFile, 0), 0u) << Cp1252ToUtf8(err);
  EXPECT_EQ(LeftoverTemporaryFiles(site.dir.Path()), std::vector<std::string>{});
  EXPECT_FALSE(site.Has("tmp/RizaZizi.log")) << "the run log left in the temporary folder";
  EXPECT_TRUE(site.Read("run/RizaZizi.log").ends_with("!! Abbruch !! " + err));
  EXPECT_EQ(site.Has("run/report.json") &&
                site.Read("run/report.json").find("\"exitStatus\": 1") != std::string::npos,
            reportWritten);
}

TEST(ResourceEnds, MemoryRunsOutInTheLoad) {
  ExpectOrderlyEnd(RunOutOfMemory, "Quenda: Fehler 7: Nicht genügend Arbeitsspeicher",
                   "Fehler 7: Nicht genügend Arbeitsspeicher"_cp, true);
}

TEST(ResourceEnds, FileSizeLimitLeavesNoRoomForTheReport) {
  ExpectOrderlyEnd(RunUnderFileSizeLimit,
                   "Quenda: Der Bericht .*report\\.json wurde nicht geschrieben: Datenträger voll",
                   "Der Job T:\\003\\Flow\\Transfer\\Job_4711.xml kann nicht "
                   "zurückgeschrieben werden: Datenträger voll"_cp,
                   false);
}

}  // namespace
}  // namespace quenda
