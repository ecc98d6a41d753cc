// How the built program ends when the load cannot go on or a record cannot be written: the
// aborts of the load leave the error file a calling batch system watches for, a job that
// cannot be read is named with line and column, and a missing report changes the status.
#include <gtest/gtest.h>

#include <functional>

#include "support/sample_site.h"

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
  bool unreadableJob;
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
  ASSERT_TRUE(s.Has("tmp/SG_42.err")) << r.err;
  EXPECT_EQ(s.Read("tmp/SG_42.err"), c.message + "\r\n");
  ASSERT_TRUE(s.Has("run/RizaZizi.log")) << "the run log is in the current folder";
  if (c.unreadableJob) {  // the load stops there: the log's last line, no dialog
    EXPECT_TRUE(s.Read("run/RizaZizi.log").ends_with("!! Abbruch !! " + c.message + "\r\n"));
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

// A report that cannot be written changes the status to 5; a run that failed keeps its own
// status. The missing report is told either way.
TEST(RequestedRecords, AMissingReportChangesTheStatusAndIsNamed) {
  for (const bool foreignJob : {false, true}) {
    SampleSite s;
    if (foreignJob) s.Edit(kJob, ">FLOW5<", ">MANUELL<");
    std::string answers;
    for (const std::string& a : SampleSite::SampleAnswers()) answers += a + "\n";
    s.Write("answers.txt", answers);
    const std::string run = s.Path("run");
    const auto r = testing::RunQuenda(
        {"--headless", "--program-dir", s.Path("site/program"), "--answers", s.Path("answers.txt"),
         "--report", run + "/fehlt/report.json", "--", SampleSite::SampleCommandLine()},
        run);
    EXPECT_EQ(r.status, foreignJob ? 1 : 5) << r.err;
    const std::string told = "Der Bericht " + run + "/fehlt/report.json wurde nicht geschrieben";
    EXPECT_NE(r.err.find(foreignJob ? told : "Quenda: " + told + ": Pfad nicht gefunden"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(LeftoverTemporaryFiles(s.dir.Path()), std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace quenda
