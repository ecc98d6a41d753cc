// How the built program ends when the load cannot go on or a record cannot be written: the
// aborts of the load leave the error file a calling batch system watches for, a job that
// cannot be read is named with line and column, and a report or transcript that was asked
// for and is missing changes the exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>

#include "support/sample_site.h"
#include "text/cp1252.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::kConfig012;
using testing::kJob;
using testing::LeftoverTemporaryFiles;
using testing::SampleSite;

const std::string kJobPath = "T:\\003\\Flow\\Transfer\\Job_4711.xml";

struct LoadAbort {
  const char* name;
  std::function<void(SampleSite&)> arrange;
  std::string message;  // CP1252: the whole line of the error file
  bool unreadableJob;   // the load stops there: the log's last line, no dialog
};

void PrintTo(const LoadAbort& c, std::ostream* os) { *os << c.name; }

class LoadAborts : public ::testing::TestWithParam<LoadAbort> {};

// Called by a batch system with the tag 42.
TEST_P(LoadAborts, LeaveTheErrorFileWithTheMessage) {
  const LoadAbort& c = GetParam();
  SampleSite s;
  c.arrange(s);
  const std::string tag42 = kJobPath + ",\"B|42|0\",P";
  const auto r = s.Run({"text V2", "button Yes", "button OK", "text GRB", "button OK"}, tag42);
  EXPECT_EQ(r.status, 1) << r.err;
  ASSERT_TRUE(s.Has("tmp/SG_42.err")) << "no error file for >" << tag42 << "<\n" << r.err;
  EXPECT_EQ(s.Read("tmp/SG_42.err"), c.message + "\r\n");
  ASSERT_TRUE(s.Has("run/RizaZizi.log")) << "the run log is in the current folder";
  if (c.unreadableJob) {
    const std::string log = s.Read("run/RizaZizi.log");
    EXPECT_TRUE(log.ends_with("!! Abbruch !! " + c.message + "\r\n")) << Cp1252ToUtf8(log);
    EXPECT_EQ(s.Read("run/dialogs.jsonl"), "") << "no dialog after the unreadable job";
  }
  EXPECT_EQ(LeftoverTemporaryFiles(s.dir.Path()), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    OfTheLoad, LoadAborts,
    ::testing::Values(LoadAbort{"JobOfAnotherSource",
                                [](SampleSite& s) { s.Edit(kJob, ">FLOW5<", ">MANUELL<"); },
                                "Der Job stammt nicht aus FLOW5 oder ToolTest", false},
                      LoadAbort{"TruncatedJob",
                                [](SampleSite& s) { s.Write(kJob, s.Read(kJob).substr(0, 900)); },
                                "Der Job " + kJobPath +
                                    " kann nicht gelesen werden: Zeile 14, Spalte 17: Das "
                                    "Dokument ist nicht wohlgeformt (Couldn't find end of Start "
                                    "Tag Field line 14)",
                                true},
                      LoadAbort{"UnknownRuleFunction",
                                [](SampleSite& s) { s.Edit(kConfig012, "KV1={", "KVX={"); },
                                "Funktion = KVX nicht bekannt", false}),
    [](const auto& info) { return std::string(info.param.name); });

struct RecordCase {
  const char* name;
  bool foreignJob;         // the run itself fails
  std::string transcript;  // run-relative; "" for none asked
  std::string report;
  int status;
  std::string told;  // on standard error, CP1252, after the run folder
};

void PrintTo(const RecordCase& c, std::ostream* os) { *os << c.name; }

class RequestedRecords : public ::testing::TestWithParam<RecordCase> {};

TEST_P(RequestedRecords, MissingOnesChangeTheStatusAndAreNamed) {
  const RecordCase& c = GetParam();
  SampleSite s;
  if (c.foreignJob) s.Edit(kJob, ">FLOW5<", ">MANUELL<");
  std::string answers;
  for (const std::string& a : SampleSite::SampleAnswers()) answers += a + "\n";
  s.Write("answers.txt", answers);
  fs::create_directories(s.dir.Path() / "run" / "ordner");
  const std::string run = s.Path("run");
  std::vector<std::string> args = {
      "--headless",          "--program-dir", s.Path("site/program"), "--answers",
      s.Path("answers.txt"), "--report",      run + "/" + c.report};
  if (!c.transcript.empty()) args.insert(args.end(), {"--transcript", run + "/" + c.transcript});
  args.insert(args.end(), {"--", SampleSite::SampleCommandLine()});
  const auto r = testing::RunQuenda(args, run);
  EXPECT_EQ(r.status, c.status) << r.err;
  std::string told = c.told;
  told = Cp1252ToUtf8(told.replace(told.find('@'), 1, run));
  EXPECT_NE(r.err.find(told), std::string::npos) << "expected >" << told << "<\n" << r.err;
  EXPECT_EQ(LeftoverTemporaryFiles(s.dir.Path()), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    TranscriptAndReport, RequestedRecords,
    ::testing::Values(
        RecordCase{"TranscriptIsAFolder", false, "ordner", "report.json", 5,
                   "Quenda: Das Dialogprotokoll @/ordner wurde nicht geschrieben: Fehler "
                   "beim Zugriff auf Pfad/Datei"},
        RecordCase{"ReportInAMissingFolder", false, "dialogs.jsonl", "fehlt/report.json", 5,
                   "Quenda: Der Bericht @/fehlt/report.json wurde nicht geschrieben: Pfad "
                   "nicht gefunden"},
        // A run that failed keeps its own status; the missing report is still told.
        RecordCase{"AFailedRunKeepsItsStatus", true, "", "fehlt/report.json", 1,
                   "Der Bericht @/fehlt/report.json wurde nicht geschrieben"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quenda
