// A batch system stopping a run (SIGTERM): the run ends in order on the spot, with the
// reason in its log and in the error file, the log in the current folder, status 130.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <thread>

#include "support/sample_site.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::SampleSite;

bool WaitFor(const std::function<bool()>& condition) {
  for (int i = 0; i < 600 && !condition(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return condition();
}

TEST(StopRequest, SigtermWhileTheEditorIsOpenEndsTheRunInOrder) {
  SampleSite s;
  // The editor of the patch explanation file stays open until it is stopped.
  s.Write("editor.sh", "#!/bin/sh\necho $$ > \"" + s.Path("editor.pid") + "\"\nexec sleep 60\n");
  fs::permissions(s.Path("editor.sh"), fs::perms::owner_all);
  s.Edit("site/program/Config.ini", "[Site]\r\n",
         "[Site]\r\nEditor=\"" + s.Path("editor.sh") + " \"\r\n");
  std::string answers;
  for (const std::string& a : SampleSite::SampleAnswers()) {
    answers += (a == "text 12" ? std::string("text") : a) + "\n";  // no patch code: the editor
  }
  s.Write("answers.txt", answers);
  const pid_t pid =
      testing::StartQuenda({"--headless", "--program-dir", s.Path("site/program"), "--answers",
                            s.Path("answers.txt"), "--", SampleSite::SampleCommandLine()},
                           s.Path("run"));
  ASSERT_GT(pid, 0);
  const bool editorOpen = WaitFor([&] { return !s.Read("editor.pid").empty(); });
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  if (editorOpen) kill(std::stoi(s.Read("editor.pid")), SIGKILL);
  ASSERT_TRUE(editorOpen) << "the run reached the editor";
  ASSERT_TRUE(WIFEXITED(status)) << "ended by itself, not by the signal";
  EXPECT_EQ(WEXITSTATUS(status), 130);
  const std::string log = s.Read("run/RizaZizi.log");
  const std::string last = "!! Abbruch !! Abbruch durch Signal SIGTERM\r\n";
  EXPECT_TRUE(log.size() > last.size() && log.substr(log.size() - last.size()) == last) << log;
  EXPECT_EQ(s.Read("tmp/SG_4711.err"), "Abbruch durch Signal SIGTERM\r\n");
  EXPECT_FALSE(s.Has("tmp/RizaZizi.log"));
  EXPECT_EQ(s.Read(testing::kTarvell), SampleSite().Read(testing::kTarvell));
}

#ifdef QUENDA_BINARY_HAS_QT_WINDOW
// The Qt window in BatchMode, the unattended mode of a batch system: a SIGTERM once its run
// log exists (it waits in the first question of the job, an input box nobody answers) ends
// the run as in headless mode.
TEST(StopRequest, SigtermEndsTheQtWindowInBatchModeInOrder) {
  SampleSite s;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const pid_t pid = testing::StartQuenda(
      {"--program-dir", s.Path("site/program"), "--", SampleSite::SampleCommandLine()},
      s.Path("run"));
  ASSERT_GT(pid, 0);
  const bool logOpen = WaitFor([&] { return s.Has("tmp/RizaZizi.log"); });
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(logOpen);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by itself, not by the signal";
  EXPECT_EQ(WEXITSTATUS(status), 130);
  const std::string log = s.Read("run/RizaZizi.log");
  const std::string last = "!! Abbruch !! Abbruch durch Signal SIGTERM\r\n";
  EXPECT_TRUE(log.size() >= last.size() && log.substr(log.size() - last.size()) == last) << log;
  EXPECT_EQ(s.Read("tmp/SG_4711.err"), "Abbruch durch Signal SIGTERM\r\n");
  EXPECT_FALSE(s.Has("tmp/RizaZizi.log"));
}
#endif

// True once the program's main thread blocks SIGTERM: the first thing its main does.
bool StopSignalsBlocked(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("SigBlk:", 0) != 0) continue;
    const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
    return (mask >> (SIGTERM - 1) & 1) != 0;
  }
  return false;
}

std::size_t LineCount(const std::string& log) {
  return static_cast<std::size_t>(std::count(log.begin(), log.end(), '\n'));
}

pid_t StartSampleRun(SampleSite& s) {
  std::string answers;
  for (const std::string& a : SampleSite::SampleAnswers()) answers += a + "\n";
  s.Write("answers.txt", answers);
  return testing::StartQuenda(
      {"--headless", "--program-dir", s.Path("site/program"), "--answers", s.Path("answers.txt"),
       "--report", s.Path("report.json"), "--", SampleSite::SampleCommandLine()},
      s.Path("run"));
}

std::size_t CompleteLogLines() {
  SampleSite s;
  const pid_t pid = StartSampleRun(s);
  int status = 0;
  if (pid <= 0 || waitpid(pid, &status, 0) != pid) return 0;
  return LineCount(s.Read("run/RizaZizi.log"));
}

// SIGTERM at spread instants of a whole run, from the start of main to its exit: the
// process ends with 0 or 130, never by the signal; the report names that status; a stopped
// run has its log moved, or (stopped before the log existed) left nothing in the
// temporary folder. Frozen (SIGSTOP) at each instant, a run whose log lacks the last two
// lines of a complete run (its end writes at most one) has not begun its end: it gives 130.
TEST(StopRequest, SigtermAtAnyInstantEndsInOrderWithTheReportsStatus) {
  const std::size_t completeLines = CompleteLogLines();
  ASSERT_GT(completeLines, 3u) << "the log of an unstopped run";
  int insideWithLog = 0;
  for (const int afterMs : {0, 2, 5, 10, 20, 40, 80, 160, 320}) {
    SampleSite s;
    const pid_t pid = StartSampleRun(s);
    ASSERT_GT(pid, 0);
    bool started = false;
    for (int i = 0; i < 300000 && !(started = StopSignalsBlocked(pid)); ++i) {
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(afterMs));
    int status = 0;
    // Frozen, or already ended (and then `status` is its exit).
    const bool frozen =
        kill(pid, SIGSTOP) == 0 && waitpid(pid, &status, WUNTRACED) == pid && WIFSTOPPED(status);
    const bool logInTmp = frozen && s.Has("tmp/RizaZizi.log");
    const std::size_t lines = logInTmp ? LineCount(s.Read("tmp/RizaZizi.log")) : 0;
    const bool beforeTheEnd =
        frozen && !s.Has("run/RizaZizi.log") && (!logInTmp || lines + 2 <= completeLines);
    if (beforeTheEnd && logInTmp) ++insideWithLog;
    kill(pid, SIGTERM);
    kill(pid, SIGCONT);
    if (frozen) waitpid(pid, &status, 0);
    ASSERT_TRUE(started) << afterMs << " ms";
    ASSERT_TRUE(WIFEXITED(status)) << afterMs << " ms: ended by signal " << WTERMSIG(status);
    const int code = WEXITSTATUS(status);
    EXPECT_TRUE(code == 0 || code == 130) << afterMs << " ms: status " << code;
    EXPECT_TRUE(!beforeTheEnd || code == 130)
        << afterMs << " ms: stopped at line " << lines << " of " << completeLines;
    if (s.Has("report.json")) {
      EXPECT_EQ(nlohmann::json::parse(s.Read("report.json")).at("exitStatus"), code)
          << afterMs << " ms";
    } else {
      EXPECT_EQ(code, 130) << afterMs << " ms: only a stopped run has no report";
    }
    EXPECT_FALSE(s.Has("tmp/RizaZizi.log")) << afterMs << " ms";
    if (code == 130 && s.Has("run/RizaZizi.log")) {
      EXPECT_NE(s.Read("run/RizaZizi.log").find("!! Abbruch !! Abbruch durch Signal SIGTERM"),
                std::string::npos)
          << afterMs << " ms";
      EXPECT_EQ(s.Read("tmp/SG_4711.err"), "Abbruch durch Signal SIGTERM\r\n") << afterMs;
    } else if (code == 130) {
      EXPECT_TRUE(fs::is_empty(s.dir.Path() / "tmp")) << afterMs << " ms: nothing left";
    }
  }
  EXPECT_GT(insideWithLog, 0) << "no instant fell inside the run while its log was open";
}

}  // namespace
}  // namespace quenda
