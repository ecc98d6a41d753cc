#include "app/window_driver.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <limits>
#include <vector>

#include "app/options.h"
#include "app/program.h"
#include "base/error.h"
#include "session/session.h"
#include "support/fake_system.h"
#include "support/sample_site.h"
#include "support/scripted_answers.h"
#include "text/cp1252.h"
#include "ui/window_ui.h"

namespace quenda {
namespace {

// A window's Ui that confirms every box and keeps its text.
class ConfirmingUi : public WindowUi {
 public:
  void SetBusy(bool on) override { busy = on; }
  bool busy = false;
  std::vector<std::string> boxes;

 protected:
  Answer ShowMessage(const std::string& text, const MessageStyle&,
                     const std::string& title) override {
    boxes.push_back(title + ": " + text);
    return Answer::kOk;
  }
  std::string ShowInput(const std::string&, const std::string&, const std::string&) override {
    return {};
  }
  std::optional<std::string> ShowOpenFile(const FileDialogRequest&) override { return {}; }
};

// What the driver told the window.
class RecordingView : public WindowView {
 public:
  void SyncFromModel() override { calls.push_back("SyncFromModel"); }
  void SyncLog() override { calls.push_back("SyncLog"); }
  void SyncSummary() override { calls.push_back("SyncSummary"); }
  void RunFinished(int exitStatus) override {
    calls.push_back("RunFinished " + std::to_string(exitStatus));
  }
  int ShowAndWait() override { return 0; }
  std::vector<std::string> calls;
};

class WindowDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session = fixture.SessionFor(ui);
    driver = std::make_unique<WindowDriver>(*session, ui);
    driver->Attach(view);
  }

  testing::SessionFixture fixture;
  ConfirmingUi ui;
  RecordingView view;
  std::unique_ptr<Session> session;
  std::unique_ptr<WindowDriver> driver;
};

TEST_F(WindowDriverTest, ACommandThatReturnsSyncsTheWindowAndEndsTheBusyPointer) {
  driver->Load();
  ASSERT_FALSE(driver->Finished());
  ui.busy = true;
  view.calls.clear();
  driver->Run([] {});
  EXPECT_FALSE(ui.busy);
  EXPECT_EQ(view.calls, std::vector<std::string>{"SyncFromModel"});
}

TEST_F(WindowDriverTest, LogLinesReachTheWindowAsTheyAreWritten) {
  driver->Load();
  EXPECT_EQ(driver->NewLogLines(0).size(), 3u) << "the start-up's three lines";
  view.calls.clear();
  session->WriteLogLine("vierte");
  EXPECT_EQ(view.calls, std::vector<std::string>{"SyncLog"});
  ASSERT_EQ(driver->NewLogLines(3).size(), 1u);
  EXPECT_EQ(driver->NewLogLines(3)[0], "vierte");
  EXPECT_TRUE(driver->NewLogLines(4).empty());
  EXPECT_TRUE(driver->NewLogLines(9).empty()) << "a list that shows more than the model";
}

TEST_F(WindowDriverTest, EndeEndsTheRunAndTellsTheWindowItsStatus) {
  driver->Load();
  view.calls.clear();
  driver->Ende();
  EXPECT_TRUE(driver->Finished());
  EXPECT_EQ(driver->ExitStatus(), kExitAborted);
  EXPECT_EQ(view.calls.back(), "RunFinished 1");
  EXPECT_EQ(ui.boxes.back(), "Abbruch: Bearbeitung wurde abgebrochen");
}

TEST_F(WindowDriverTest, AnErrorBeforeTheLogIsOpenIsShownAndEndsTheRun) {
  driver->Run([] { throw PlatformError(kErrPermissionDenied, "C:\\Temp\\RizaZizi.log"); });
  EXPECT_TRUE(driver->Finished());
  EXPECT_EQ(driver->ExitStatus(), kExitAborted);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].rfind("Abbruch: Fehler 70: ", 0), 0u) << ui.boxes[0];
  EXPECT_EQ(view.calls.back(), "RunFinished 1");
}

// A window whose event loop ends at once with `kClosedStatus`; `life` keeps what it went
// through ("made", "shown", "RunFinished N") after it has gone.
using WindowLife = std::vector<std::string>;
class FakeWindow : public RecordingView {
 public:
  static constexpr int kClosedStatus = 4;
  explicit FakeWindow(WindowLife& life) : life_(life) { life_.push_back("made"); }
  void RunFinished(int exitStatus) override {
    life_.push_back("RunFinished " + std::to_string(exitStatus));
  }
  int ShowAndWait() override {
    life_.push_back("shown");
    return kClosedStatus;
  }

 private:
  WindowLife& life_;
};

TEST(WindowFrontEnd, TheWindowIsShownOnlyWhenTheSessionStartsAndTheLoadLeavesTheRunOpen) {
  const struct {
    const char* what;
    bool configIniIsAFolder;  // the session cannot start
    bool tempDirMissing;      // the load cannot open the run log: the run ends
    int status;
    WindowLife life;
    std::string shownText;  // begins the error the front end shows, or the load's last box
  } cases[] = {
      {"no session", true, false, kExitBadOption, {}, "Fehler 75: Fehler beim Zugriff auf "},
      {"load ends run", false, true, kExitAborted, {"made", "RunFinished 1"}, "Abbruch: Fehler 76"},
      {"run left open", false, false, FakeWindow::kClosedStatus, {"made", "shown"}, ""},
  };
  for (const auto& c : cases) {
    testing::SessionFixture f;
    if (c.configIniIsAFolder) std::filesystem::create_directories(f.dir.Path() / "Config.ini");
    if (c.tempDirMissing) f.system.tempPath = f.dir.File("fehlt") + testing::kSep;
    Options options;
    options.programDir = f.dir.Path().string();
    // On Windows the program's command line is the process's own (here the test's
    // arguments): all of it counts as options, so the load sees none, as elsewhere.
    options.optionWords = std::numeric_limits<std::size_t>::max();
    ConfirmingUi ui;
    WindowLife life;
    std::vector<std::string> errors;
    const int status = RunWindowFrontEnd(
        options, ui, f.system,
        [&](WindowDriver& driver) {
          driver.session().state.AktDirName = f.dir.File("cwd") + testing::kSep;
          return std::make_unique<FakeWindow>(life);
        },
        [&](const std::string& text) { errors.push_back(text); });
    EXPECT_EQ(status, c.status) << c.what;
    EXPECT_EQ(life, c.life) << c.what;
    const std::vector<std::string>& shown = c.configIniIsAFolder ? errors : ui.boxes;
    EXPECT_TRUE((c.configIniIsAFolder ? ui.boxes : errors).empty()) << c.what;
    if (c.shownText.empty()) continue;
    ASSERT_FALSE(shown.empty()) << c.what;
    EXPECT_EQ(shown.back().rfind(c.shownText, 0), 0u) << shown.back();
  }
}

// A window's Ui that answers each question with the next of `answers`.
class ScriptedUi : public testing::ScriptedAnswers<WindowUi> {
 public:
  using ScriptedAnswers::ScriptedAnswers;
  void SetBusy(bool) override {}

 protected:
  std::optional<std::string> ShowOpenFile(const FileDialogRequest&) override { return {}; }
};

TEST(WindowPreview, ShowsThePlanWritesNothingAndTheNextStartAsksNothing) {
  testing::SampleSite site;
  testing::FakeSystem system;
  ScriptedUi ui(testing::SampleSite::SampleAnswers());
  Options options;
  options.programDir = site.Path("site/program");
  ProgramSetup setup = PrepareProgram(options, system);
  Session session(ui, system, std::move(setup.site));
  session.env.ProgramDir = setup.programDir;
  session.env.CommandLineText = testing::SampleSite::SampleCommandLine();
  session.state.AktDirName = site.Path("run") + "/";
  WindowDriver driver(session, ui);
  RecordingView view;
  driver.Attach(view);
  driver.Load();
  ASSERT_FALSE(driver.Finished());
  EXPECT_EQ(ui.asked, 5) << "the load's questions";
  const auto before = site.SiteFiles();
  const std::string plan = driver.Preview();
  // The window's load has written the plant index back into the job already.
  EXPECT_NE(plan.find("\n  = unverändert T:\\003\\Flow\\Transfer\\Job_4711.xml\n"),
            std::string::npos)
      << plan;
  EXPECT_NE(plan.find("\nPlan: 11 neu, 0 ersetzt, 1 angehängt, 1 unverändert\n"), std::string::npos)
      << plan;
  EXPECT_EQ(site.SiteFiles(), before) << "the preview wrote into the site";
  const int questions = ui.asked;
  EXPECT_EQ(questions, 7) << "the load's questions were asked again: " << plan;
  EXPECT_FALSE(driver.Finished()) << "the preview ended the window's run";
  driver.Start();
  EXPECT_EQ(ui.asked, questions) << "Start asked again";
  EXPECT_TRUE(driver.Finished());
  EXPECT_EQ(driver.ExitStatus(), kExitSuccess);
  EXPECT_TRUE(site.Has(std::string(testing::kCustomerFolder) + "MX21K47_02s.kon"));
}

}  // namespace
}  // namespace quenda
