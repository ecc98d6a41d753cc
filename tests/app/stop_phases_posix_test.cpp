// A stop request at each phase of a run, sent at a chosen instant through the Ui's hooks
// rather than by timing: from another thread, as the watcher sends it, while the run's
// thread waits for it. Each phase ends with status 130 and the run in order (log moved,
// error file in BatchMode), or before the run log exists with nothing left behind; after
// the end of the run a request changes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "app/headless.h"
#include "app/options.h"
#include "app/program.h"
#include "app/stop_gate.h"
#include "base/error.h"
#include "session/session.h"
#include "support/sample_site.h"
#include "ui/headless_ui.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::SampleSite;

// Where the stop request comes.
enum class At {
  kNowhere,
  kFileDialogOfTheLoad,  // no job on the command line: the load asks for it
  kInputOfTheLoad,       // the first question of the sample job, from a rule of the load
  kSecondLogLine,        // a line of the start sequence after the load
  kInputDuringStart,     // the sample job's third question, the patch code of Start
};

// A stop request from another thread; returns only when the request changed nothing.
void StopFromOutside() {
  std::thread([] { RequestStop("Signal SIGTERM"); }).join();
}

// Headless answers, and the stop request at `at`.
class StoppingUi : public HeadlessUi {
 public:
  StoppingUi(const std::string& answers, std::FILE* out, At at)
      : HeadlessUi(answers, out, out), at_(at) {}

  void LogViewChanged() override {
    if (at_ == At::kSecondLogLine && ++lines_ == 2) StopFromOutside();
  }

 protected:
  std::optional<std::string> ShowOpenFile(const FileDialogRequest& request) override {
    if (at_ == At::kFileDialogOfTheLoad) StopFromOutside();
    return HeadlessUi::ShowOpenFile(request);
  }
  std::string ShowInput(const std::string& prompt, const std::string& title,
                        const std::string& defaultText) override {
    ++inputs_;
    if ((at_ == At::kInputOfTheLoad && inputs_ == 1) ||
        (at_ == At::kInputDuringStart && inputs_ == 3)) {
      StopFromOutside();
    }
    return HeadlessUi::ShowInput(prompt, title, defaultText);
  }

 private:
  At at_;
  int lines_ = 0;
  int inputs_ = 0;
};

struct PhaseCase {
  const char* name;
  const char* what;
  At at;
  bool batch;         // the sample command line, else none (the load asks for the job)
  bool beforeTheLog;  // the request comes before the run is started at all
  bool started;       // the start line is written (it follows the load)
};

class StopPhases : public ::testing::TestWithParam<PhaseCase> {
 protected:
  // Runs the sample job in this process as headless mode does, ending with std::_Exit
  // and the run's status when nothing stopped it.
  void Run(const PhaseCase& c) {
    std::FILE* devnull = std::fopen("/dev/null", "w");
    std::string answers = c.batch ? "" : "button Cancel\n";
    for (const std::string& a : SampleSite::SampleAnswers()) answers += a + "\n";
    StoppingUi ui(answers, devnull, c.at);
    Options options;
    options.programDir = site.Path("site/program");
    std::unique_ptr<Session> session = MakeSession(options, ui, system);
    session->env.CommandLineText = c.batch ? SampleSite::SampleCommandLine() : "";
    session->state.AktDirName = site.Path("run") + "/";
    int status = 0;
    {
      const StopWatch watch(*session);
      if (c.beforeTheLog) StopFromOutside();
      status = RunSession(*session);
    }
    std::_Exit(status);
  }

  SampleSite site;
  testing::FakeSystem system;
};

TEST_P(StopPhases, EndsWithStatus130AndTheRunInOrder) {
  const PhaseCase& c = GetParam();
  GTEST_FLAG_SET(death_test_style, "fast");
  system.tempPath = site.Path("tmp") + "/";
  EXPECT_EXIT(Run(c), ::testing::ExitedWithCode(130), "");
  EXPECT_FALSE(site.Has("tmp/RizaZizi.log")) << c.what;
  if (c.beforeTheLog) {
    EXPECT_FALSE(site.Has("run/RizaZizi.log")) << c.what;
    EXPECT_TRUE(fs::is_empty(site.dir.Path() / "tmp")) << c.what << ": nothing left";
    return;
  }
  const std::string log = site.Read("run/RizaZizi.log");
  const std::string last = "!! Abbruch !! Abbruch durch Signal SIGTERM\r\n";
  ASSERT_GE(log.size(), last.size()) << c.what;
  EXPECT_EQ(log.substr(log.size() - last.size()), last) << c.what;
  EXPECT_EQ(log.find("DAM-S-QUENDA-STARTED") != std::string::npos, c.started) << c.what;
  if (c.batch) {
    EXPECT_EQ(site.Read("tmp/SG_4711.err"), "Abbruch durch Signal SIGTERM\r\n") << c.what;
  } else {
    EXPECT_FALSE(site.Has("tmp/SG_4711.err")) << c.what;
  }
}

INSTANTIATE_TEST_SUITE_P(
    EachPhase, StopPhases,
    ::testing::Values(PhaseCase{"BeforeTheLog", "before the run log", At::kNowhere, true, true,
                                false},
                      PhaseCase{"FileDialogOfTheLoad", "in the file dialog of the load",
                                At::kFileDialogOfTheLoad, false, false, false},
                      PhaseCase{"InputOfTheLoad", "in a question of the load", At::kInputOfTheLoad,
                                true, false, false},
                      PhaseCase{"SecondStartLine", "at the second start line", At::kSecondLogLine,
                                false, false, true},
                      PhaseCase{"DialogOfStart", "in a question of Start", At::kInputDuringStart,
                                true, false, true}),
    [](const ::testing::TestParamInfo<PhaseCase>& info) { return std::string(info.param.name); });

TEST(StopAfterTheEnd, ChangesNothingAndTheStatusStays) {
  SampleSite site;
  testing::FakeSystem system;
  system.tempPath = site.Path("tmp") + "/";
  std::FILE* devnull = std::fopen("/dev/null", "w");
  std::string answers;
  for (const std::string& a : SampleSite::SampleAnswers()) answers += a + "\n";
  HeadlessUi ui(answers, devnull, devnull);
  Options options;
  options.programDir = site.Path("site/program");
  std::unique_ptr<Session> session = MakeSession(options, ui, system);
  session->env.CommandLineText = SampleSite::SampleCommandLine();
  session->state.AktDirName = site.Path("run") + "/";
  int status = -1;
  {
    const StopWatch watch(*session);
    status = RunSession(*session);
    RequestStop("Signal SIGTERM");  // the run has ended: returns
  }
  RequestStop("Signal SIGTERM");  // the watch is over: returns
  EXPECT_EQ(status, 0);
  const std::string log = site.Read("run/RizaZizi.log");
  EXPECT_EQ(log.find("Abbruch durch Signal"), std::string::npos) << log;
  EXPECT_FALSE(site.Has("tmp/SG_4711.err"));
  std::fclose(devnull);
}

}  // namespace
}  // namespace quenda
