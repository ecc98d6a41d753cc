#include "app/window_driver.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <vector>

#include "base/error.h"
#include "session/session.h"
#include "support/fake_system.h"
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
    return Answer::OK;
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

TEST(WindowCommand, EveryWayACommandEndsGivesItsStatus) {
  const struct {
    const char* what;
    bool logOpen;
    std::function<void()> command;
    std::optional<int> status;
    std::string lastLine;  // the run log's last line; "-" when none may be written
  } cases[] = {
      {"returns", true, [] {}, std::nullopt, ""},
      {"ends the run", true, [] { throw RunEnded(0); }, 0, ""},
      {"unexpected error", true, [] { throw PlatformError(kErrPathNotFound, "X:\\a"); }, 1,
       "!! Abbruch !! Fehler 76: Pfad nicht gefunden: X:\\a"},
      {"error before the log is open", false, [] { throw PlatformError(kErrPermissionDenied); }, 1,
       "-"},
      {"unanswered question", true, [] { throw Unanswered("Keine Antwort"); }, 3,
       "!! Abbruch !! Keine Antwort"},
      {"unanswered before the log is open", false, [] { throw Unanswered("Keine Antwort"); }, 3,
       "-"},
      {"memory runs out", true, [] { throw std::bad_alloc(); }, 1,
       "!! Abbruch !! Fehler 7: Nicht genügend Arbeitsspeicher"_cp},
      {"memory runs out before the log is open", false, [] { throw std::bad_alloc(); }, 1, "-"},
      {"another exception", true, [] { throw std::out_of_range("vector::at"); }, 1,
       "!! Abbruch !! Fehler 60000: Unerwarteter Programmfehler: vector::at"},
      {"no exception of the library", true, [] { throw 42; }, 1,
       "!! Abbruch !! Fehler 60000: Unerwarteter Programmfehler"},
  };
  for (const auto& c : cases) {
    testing::SessionFixture f;
    // BatchMode: the end is a log line and the error file. Before the log is open the
    // command fields are known from the command line alone.
    f.S().env.CommandLineText = "\"x|4711\"";
    if (c.logOpen) f.S().env.CommandFields = f.S().env.CommandLineFields();
    if (c.logOpen) f.OpenLog();
    EXPECT_EQ(RunWindowCommand(f.S(), c.command), c.status) << c.what;
    if (c.status == 1) {
      EXPECT_EQ(f.dir.Read("tmp/SG_4711.err").rfind("Fehler ", 0), 0u) << c.what;
    }
    if (c.lastLine == "-") {
      EXPECT_EQ(f.S().log.LastLine(), "") << c.what;
    } else if (!c.lastLine.empty()) {
      EXPECT_EQ(f.S().log.LastLine().rfind(c.lastLine, 0), 0u)
          << c.what << ": " << f.S().log.LastLine();
    }
  }
}

}  // namespace
}  // namespace quenda
