// The built program started from the outside on a temporary program folder.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "support/fake_system.h"
#include "support/run_binary.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::RunQuenda;
using testing::TempDir;

class StartupE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* d : {"prog", "cwd", "tmp", "win", "home", "prog/t/LC_Tests/prg"}) {
      fs::create_directories(dir.Path() / d);
    }
    dir.Write("prog/Config.ini",
              "[Site]\r\nTempDir=" + dir.File("tmp") + "\r\nWindowsDir=" + dir.File("win") +
                  "\r\nProfileDir=" + dir.File("home") + "\r\n[Paths]\r\nT:=t\r\n");
  }

  testing::RunResult Run(std::vector<std::string> words) {
    dir.Write("answers.txt", "# no job: cancel the file dialog\nbutton Cancel\n");
    std::vector<std::string> args = {"--headless",
                                     "--program-dir",
                                     dir.File("prog"),
                                     "--answers",
                                     dir.File("answers.txt"),
                                     "--transcript",
                                     dir.File("transcript.jsonl"),
                                     "--"};
    args.insert(args.end(), words.begin(), words.end());
    return RunQuenda(args, dir.File("cwd"));
  }

  TempDir dir;
};

TEST_F(StartupE2e, HeadlessRunLogsStartLinesAndMovesTheLog) {
  const auto r = Run({});
  EXPECT_EQ(r.status, 1) << "Start without a configuration ends the run";
  const std::string start = "DAM-S-QUENDA-STARTED V" + AppVersionText() + "\r\n";
  const std::string log = dir.Read("cwd/RizaZizi.log");
  EXPECT_EQ(log.rfind(start, 0), 0u) << log;
  EXPECT_NE(log.find("\r\nTemp-Directory = " + dir.File("tmp") + testing::kSep + "\r\n"),
            std::string::npos);
  EXPECT_NE(log.find("\r\nWindows-Directory = " + dir.File("win") + "\r\n"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir.Path() / "tmp" / "RizaZizi.log"));
  EXPECT_NE(r.out.find("DAM-S-QUENDA-STARTED V"), std::string::npos) << "log lines on stdout";
  EXPECT_NE(dir.Read("transcript.jsonl")
                .find("\"text\":\"Fehler, bei der Bearbeitung ohne "
                      "Kolpatoren muss der File"),
            std::string::npos)
      << dir.Read("transcript.jsonl");
}

TEST_F(StartupE2e, CommandLineWordsFormTheTraceFile) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "\r\n"},
      {{"\"x|42|0\""}, "x|42|0\r\n"},
      {{"a|b"}, "\"\r\n"},
      {{"T:\\003\\Flow\\Transfer\\job.xml,7,P"}, "\"\r\n"},
      {{"\"eins", "zwei|drei\""}, "eins zwei|drei\r\n"},
  };
  for (const auto& [words, trace] : cases) {
    Run(words);
    EXPECT_EQ(dir.Read("home/xx.txt"), trace) << "first word: " << (words.empty() ? "" : words[0]);
  }
}

TEST_F(StartupE2e, OptionsVersionHelpAndExitStatuses) {
  auto r = RunQuenda({"--version"}, dir.File("cwd"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Quenda " + AppVersionText() + testing::kStdoutNewline);
  r = RunQuenda({"--help"}, dir.File("cwd"));
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("--headless"), std::string::npos);
  r = RunQuenda({"--gibtsnicht"}, dir.File("cwd"));
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("Unbekannte Option: --gibtsnicht"), std::string::npos);
  r = RunQuenda({"--headless", "--answers"}, dir.File("cwd"));
  EXPECT_EQ(r.status, 2);
}

TEST_F(StartupE2e, UnwritableTempFolderIsReportedNotCrashed) {
  dir.Write("prog/Config.ini", "[Site]\r\nTempDir=" + dir.File("fehlt") +
                                   "\r\nProfileDir=" + dir.File("home") + "\r\n");
  const auto r = Run({});
  EXPECT_EQ(r.status, 1);
  // The message names the folder and where it comes from, then what the system said.
  EXPECT_NE(r.err.find("Fehler 76: Der temporäre Ordner " + dir.File("fehlt") + testing::kSep +
                       " ([Site] TempDir in " + dir.File("prog") + testing::kSep +
                       "Config.ini) fehlt oder ist nicht beschreibbar: Pfad nicht gefunden: " +
                       dir.File("fehlt") + testing::kSep + "RizaZizi.log"),
            std::string::npos)
      << r.err;
}

}  // namespace
}  // namespace quenda
