// A batch system stopping a run (SIGTERM): the run ends in order on the spot, with the
// reason in its log and in the error file, the log in the current folder, status 130.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
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

}  // namespace
}  // namespace quenda
