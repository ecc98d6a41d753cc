#include "session/termination.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "base/error.h"
#include "session/session.h"
#include "support/fake_system.h"
#include "support/write_faults.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::ExitOf;
using testing::SessionFixture;

// A session whose run log is open in its temporary folder and whose current folder for
// the log copy is `cwd` inside the test folder.
class TerminateRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f.OpenLog();
    f.S().WriteLogLine("erste Zeile");
    f.RecordDialogs();
  }

  int End(const std::string& text, EndStyle style, const std::string& title,
          bool viaErrorEnd = false) {
    return ExitOf([&] {
      if (viaErrorEnd) ErrorEnd(f.S(), text, style, title);
      TerminateRun(f.S(), text, style, title);
    });
  }

  std::string MovedLog() const { return f.dir.Read("cwd/RizaZizi.log"); }
  bool LogLeftInTemp() const { return fs::exists(f.dir.Path() / "tmp" / "RizaZizi.log"); }

  SessionFixture f;
};

TEST_F(TerminateRunTest, ModeWordsWriteTheirLineAndShowNoBoxInBatchMode) {
  const struct {
    const char* name;
    EndStyle mode;
    std::string line;
  } cases[] = {
      {"BATCH", EndStyle::Batch(), "!! Abbruch !! m"},
      {"NOFILCOP", EndStyle::NoFilCop(), "!! Abbruch !! m"},
      {"BATCHOK", EndStyle::BatchOk(), "!! Fertig !! m"},
      {"NOFILCOPOK", EndStyle::NoFilCopOk(), "!! Fertig !! m"},
      {"ENDE", EndStyle::Ende(), "!! Ende !! m"},
  };
  for (const auto& [name, mode, line] : cases) {
    SessionFixture g;
    g.S().env.CommandFields[0] = "job.xml";  // BatchMode
    g.OpenLog();
    g.RecordDialogs();
    EXPECT_EQ(ExitOf([&] { TerminateRun(g.S(), "m", mode, "Abbruch"); }), 1) << name;
    EXPECT_EQ(g.dir.Read("cwd/RizaZizi.log"), line + "\r\n") << name;
    EXPECT_EQ(g.Transcript(), "") << name << " shows no box in BatchMode";
  }
}

TEST_F(TerminateRunTest, BatchMovesTheLogIntoTheCurrentFolder) {
  EXPECT_EQ(End("kaputt", EndStyle::Batch(), "Abbruch"), 1);
  EXPECT_EQ(MovedLog(), "erste Zeile\r\n!! Abbruch !! kaputt\r\n");
  EXPECT_FALSE(LogLeftInTemp());
  EXPECT_EQ(f.Transcript(), "");
}

TEST_F(TerminateRunTest, EndeShowsPrefixedTextWithInformationIcon) {
  End("Schluss", EndStyle::Ende(), "Ende");
  EXPECT_EQ(f.Transcript(),
            "{\"kind\":\"message\",\"title\":\"Ende\",\"text\":\"!! Ende !! Schluss\","
            "\"style\":64,\"answer\":\"OK\"}\n");
  EXPECT_EQ(MovedLog(), "erste Zeile\r\n!! Ende !! Schluss\r\n");
}

TEST_F(TerminateRunTest, StyleNumberShowsBoxWithoutLogLineAndDefaults) {
  End("Meldung", EndStyle::Box(48), "");
  EXPECT_EQ(f.Transcript(),
            "{\"kind\":\"message\",\"title\":\"Keine Angabe!!!\",\"text\":\"Meldung\","
            "\"style\":48,\"answer\":\"OK\"}\n");
  EXPECT_EQ(MovedLog(), "erste Zeile\r\n");
}

TEST_F(TerminateRunTest, EmptyStyleAndTextBecomeStopBoxEvenInBatchMode) {
  f.S().env.CommandFields[0] = "job.xml";
  // 272 has only an OK button, so the headless front end confirms it at once.
  End("", EndStyle::Box(), "");
  EXPECT_EQ(f.Transcript(),
            "{\"kind\":\"message\",\"title\":\"Keine Angabe!!!\",\"text\":\"Keine Angabe!!!\","
            "\"style\":272,\"answer\":\"OK\"}\n");
}

TEST_F(TerminateRunTest, SuccessfulEndCarriesStatusZero) {
  EXPECT_EQ(ExitOf([&] {
              TerminateRun(f.S(), "Quenda ist beendet!", EndStyle::Box(0), "Fertig", kExitSuccess);
            }),
            0);
  EXPECT_NE(f.Transcript().find("\"title\":\"Fertig\""), std::string::npos);
}

TEST_F(TerminateRunTest, CurrentFolderIsTheTempFolderKeepsTheLog) {
  f.S().state.AktDirName = f.dir.File("tmp") + "/./";  // another text for the same folder
  End("m", EndStyle::Batch(), "Abbruch");
  ASSERT_TRUE(LogLeftInTemp()) << "the log must not be deleted after copying onto itself";
  EXPECT_EQ(f.dir.Read("tmp/RizaZizi.log"), "erste Zeile\r\n!! Abbruch !! m\r\n");
}

TEST_F(TerminateRunTest, LockedTargetShowsThePermissionBoxAndKeepsTheLog) {
  f.dir.Write("cwd/RizaZizi.log", "alt");
  fs::permissions(f.dir.Path() / "cwd" / "RizaZizi.log", fs::perms::owner_read,
                  fs::perm_options::replace);
  End("m", EndStyle::Batch(), "Abbruch");
  EXPECT_NE(f.Transcript().find(" kann nicht automatisch kopiert werden!\\r\\n"
                                "Vermutlich von einer anderen Anwendung belegt!"),
            std::string::npos)
      << f.Transcript();
  EXPECT_TRUE(LogLeftInTemp());
  EXPECT_EQ(MovedLog(), "alt");
}

TEST_F(TerminateRunTest, ErrorEndWritesTheErrorFileForTheCallingBatch) {
  f.S().env.CommandFields = {"job.xml", "42", "0", "|", "|"};
  End("Platte voll", EndStyle::Box(48), "Abbruch", /*viaErrorEnd=*/true);
  EXPECT_EQ(f.dir.Read("tmp/SG_42.err"), "Platte voll\r\n");
  EXPECT_EQ(MovedLog(), "erste Zeile\r\n!! Abbruch !! Platte voll\r\n");
  EXPECT_EQ(f.Transcript(), "") << "BatchMode passes BATCH on";
}

// Every end but the successful one tells a calling batch system whose command line holds
// the fields, also one before CommandFields are filled (the load); the first error file
// of the run stays.
TEST(TerminateRunErrorFile, EveryAbortWithTheFieldsWritesItOnce) {
  struct Case {
    const char* what;
    std::string commandLine;
    int status;
    bool earlier;         // the run has written its error file already
    std::string written;  // the error file afterwards, "" for none
  };
  const Case cases[] = {
      {"abort during the load", "JOB,\"B|42|0\",P", 1, false, "Abbruch m\r\n"},
      {"successful end", "JOB,\"B|42|0\",P", 0, false, ""},
      {"no quoted fields", "JOB,42,P", 1, false, ""},
      {"first error file stays", "JOB,\"B|42|0\",P", 1, true, "zuerst\r\n"},
  };
  for (const Case& c : cases) {
    SessionFixture f;
    f.OpenLog();
    f.S().env.CommandLineText = c.commandLine;
    if (c.earlier) WriteErrorFile(f.S(), "zuerst");
    EXPECT_EQ(
        ExitOf([&] { TerminateRun(f.S(), "Abbruch m", EndStyle::Box(48), "Abbruch", c.status); }),
        c.status)
        << c.what;
    const bool exists = fs::exists(f.dir.Path() / "tmp" / "SG_42.err");
    EXPECT_EQ(exists ? f.dir.Read("tmp/SG_42.err") : "", c.written) << c.what;
  }
}

TEST_F(TerminateRunTest, ErrorEndInteractivePassesItsArgumentsOn) {
  End("Fehler x", EndStyle::Box(48), "Titel", /*viaErrorEnd=*/true);
  EXPECT_EQ(f.dir.Read("tmp/SG_.err"), "Fehler x\r\n");
  EXPECT_NE(f.Transcript().find("\"title\":\"Titel\",\"text\":\"Fehler x\",\"style\":48"),
            std::string::npos);
}

TEST(ErrorFileTag, UnsafeCharactersBecomeUnderscoresAndEveryValidNameStays) {
  const std::pair<std::string, std::string> cases[] = {
      {"42", "42"},
      {"|", "_"},
      {"..\\..\\x", ".._.._x"},
      {"a/b:c*d?e", "a_b_c_d_e"},
      {"\"<>\"", "____"},
      {"v1.2", "v1.2"},
      {"a..b", "a..b"},
      {"a...b", "a...b"},
      {"..", ".."},
      {"a\tb\x1f", "a_b_"},
      {"\x7f", "\x7f"},
  };
  for (const auto& [field, tag] : cases) {
    EXPECT_EQ(ErrorFileTag(field), tag) << "field " << field;
  }
}

TEST_F(TerminateRunTest, MissingFieldGivesAnErrorFileInsideTemp) {
  f.S().env.CommandFields = {"\"", "|", "|", "|", "|"};
  End("m", EndStyle::Box(48), "Abbruch", /*viaErrorEnd=*/true);
  EXPECT_EQ(f.dir.Read("tmp/SG__.err"), "m\r\n");
}

// Every write of the end (error file, final log line, the log's copy) failing in turn, in
// BatchMode and interactively: the run still ends with its status, standard error says what
// failed, and the log is either in the current folder or left in the temporary folder.
TEST(TerminateRunFailures, EveryWriteOfTheEndMayFailAndTheRunStillEnds) {
  for (const bool batchMode : {true, false}) {
    for (const int number : {kErrDiskFull, kErrPermissionDenied}) {
      int points = 0;
      for (int n = 0; n == 0 || n <= points; ++n) {
        testing::WriteFaults faults;
        SessionFixture g;
        g.S().files.Watch(&faults);
        if (batchMode) g.S().env.CommandFields = {"job.xml", "42", "0", "", ""};
        g.OpenLog();
        faults.FailNthWrite(n, number);
        ::testing::internal::CaptureStderr();
        const int status = ExitOf([&] { ErrorEnd(g.S(), "kaputt", EndStyle::Box(48), "Abbruch"); });
        const std::string err = ::testing::internal::GetCapturedStderr();
        const std::string where = "write point " + std::to_string(n) + " of " +
                                  std::to_string(points) + ", error " + std::to_string(number) +
                                  (batchMode ? ", BatchMode" : "");
        EXPECT_EQ(status, 1) << where;
        const bool moved = fs::exists(g.dir.Path() / "cwd" / "RizaZizi.log");
        const bool left = fs::exists(g.dir.Path() / "tmp" / "RizaZizi.log");
        EXPECT_NE(moved, left) << where << ": the log is in one place";
        if (n == 0) {
          points = faults.WritePoints();
          EXPECT_EQ(err, "") << where;
          EXPECT_TRUE(moved) << where;
        } else {
          EXPECT_EQ(err.rfind("Quenda: ", 0), 0u) << where << ": " << err;
          if (left) {
            EXPECT_NE(err.find("bleibt in "), std::string::npos) << where << ": " << err;
          }
        }
      }
      EXPECT_GE(points, batchMode ? 5 : 4) << "error file, final log line (BatchMode), copy";
    }
  }
}

}  // namespace
}  // namespace quenda

namespace quenda {
namespace {

// A successful run in BatchMode removes the error file of its tag that an earlier run
// left; one written after its start (another run of the tag), an unsuccessful end and an
// interactive run leave it.
TEST(EarlierErrorFile, ASuccessfulBatchRunRemovesOnlyAnOlderOne) {
  const struct {
    const char* what;
    bool batchMode;
    int exitStatus;
    int writtenSecondsAfterStart;
    bool stays;
  } cases[] = {
      {"an hour before the start", true, kExitSuccess, -3600, false},
      {"a second before the start", true, kExitSuccess, -1, false},
      {"after the start", true, kExitSuccess, 60, true},
      {"failed run", true, kExitAborted, -3600, true},
      {"interactive run", false, kExitSuccess, -3600, true},
  };
  for (const auto& c : cases) {
    testing::SessionFixture f;
    if (c.batchMode) f.S().env.CommandFields = {"job.xml", "a..b", "0", "|", "|"};
    f.OpenLog();
    f.RecordDialogs();
    f.S().env.StartTime = fs::file_time_type::clock::now();
    f.dir.Write("tmp/SG_a..b.err", "alter Fehler\r\n");
    fs::last_write_time(f.dir.Path() / "tmp" / "SG_a..b.err",
                        f.S().env.StartTime + std::chrono::seconds(c.writtenSecondsAfterStart));
    EXPECT_EQ(
        ExitOf([&] { TerminateRun(f.S(), "m", EndStyle::BatchOk(), "Fertig", c.exitStatus); }),
        c.exitStatus);
    EXPECT_EQ(fs::exists(f.dir.Path() / "tmp" / "SG_a..b.err"), c.stays) << c.what;
  }
}

TEST_F(TerminateRunTest, TheLogIsCopiedFromTheRunsOwnFileNotByItsName) {
  // The name in the temporary folder no longer names this run's log.
  fs::rename(f.dir.Path() / "tmp" / "RizaZizi.log", f.dir.Path() / "tmp" / "weg.log");
  End("m", EndStyle::Batch(), "Abbruch");
  EXPECT_EQ(MovedLog(), "erste Zeile\r\n!! Abbruch !! m\r\n");
}

TEST(StopRun, AfterTheEndOfTheRunChangesNothing) {
  testing::SessionFixture f;
  f.S().env.CommandFields = {"job.xml", "42", "0", "|", "|"};
  f.OpenLog();
  EXPECT_EQ(ExitOf([&] { TerminateRun(f.S(), "m", EndStyle::BatchOk(), "Fertig", kExitSuccess); }),
            0);
  StopRun(f.S(), "Signal SIGTERM");  // returns: the end was the run's own
  EXPECT_EQ(f.dir.Read("cwd/RizaZizi.log"), "!! Fertig !! m\r\n");
  EXPECT_FALSE(fs::exists(f.dir.Path() / "tmp" / "SG_42.err"));
}

}  // namespace
}  // namespace quenda
