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

using Arrange = std::function<void(SampleSite&)>;

const std::vector<std::string> kLoad = {"text V2", "button Yes", "button OK", "text GRB",
                                        "button OK"};
const std::string kJobPath = "T:\\003\\Flow\\Transfer\\Job_4711.xml";
const std::string kUnreadable = "Der Job " + kJobPath + " kann nicht gelesen werden: ";

// The job in UTF-32 big-endian with its mark and a declaration that says so.
std::string Utf32Job(const SampleSite& s) {
  std::string job = s.Read(kJob);
  job.replace(0, job.find("?>"), "<?xml version=\"1.0\" encoding=\"UTF-32\"");
  std::string bytes = std::string("\x00\x00\xFE\xFF", 4);
  for (const char c : job) bytes += std::string(3, '\0') + c;  // the job is ASCII but for ü
  return bytes;
}

// A job whose first field holds elements nested `depth` deep.
Arrange NestedJob(int depth) {
  return [depth](SampleSite& s) {
    std::string open;
    std::string close;
    for (int i = 0; i < depth; ++i) {
      open += "<d>";
      close += "</d>";
    }
    s.Edit(kJob, "<FD:Fields>", "<FD:Fields>" + open + close);
  };
}

struct LoadAbort {
  const char* name;
  Arrange arrange;
  std::string message;  // CP1252: the whole line of the error file
};

void PrintTo(const LoadAbort& c, std::ostream* os) { *os << c.name; }

class LoadAborts : public ::testing::TestWithParam<LoadAbort> {};

// The command line of a calling batch system with the tag 42.
const std::string kTag42 = kJobPath + ",\"B|42|0\",P";

TEST_P(LoadAborts, LeaveTheErrorFileWithTheMessage) {
  const LoadAbort& c = GetParam();
  SampleSite s;
  c.arrange(s);
  const auto r = s.Run(kLoad, kTag42);
  EXPECT_EQ(r.status, 1) << r.err;
  ASSERT_TRUE(s.Has("tmp/SG_42.err")) << "no error file for >" << kTag42 << "<\n" << r.err;
  EXPECT_EQ(s.Read("tmp/SG_42.err"), c.message + "\r\n");
  EXPECT_TRUE(s.Has("run/RizaZizi.log")) << "the run log is in the current folder";
  EXPECT_EQ(LeftoverTemporaryFiles(s.dir.Path()), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    OfTheLoad, LoadAborts,
    ::testing::Values(LoadAbort{"JobOfAnotherSource",
                                [](SampleSite& s) { s.Edit(kJob, ">FLOW5<", ">MANUELL<"); },
                                "Der Job stammt nicht aus FLOW5 oder ToolTest"},
                      LoadAbort{"EmptyJob", [](SampleSite& s) { s.Write(kJob, ""); },
                                kUnreadable + "Zeile 1, Spalte 1: Das Dokument ist leer"},
                      LoadAbort{"UnknownRuleFunction",
                                [](SampleSite& s) { s.Edit(kConfig012, "KV1={", "KVX={"); },
                                "Funktion = KVX nicht bekannt"}),
    [](const auto& info) { return std::string(info.param.name); });

struct UnreadableJob {
  const char* name;
  Arrange arrange;
  std::string reason;  // CP1252: what follows kUnreadable in the message
};

void PrintTo(const UnreadableJob& c, std::ostream* os) { *os << c.name; }

class UnreadableJobs : public ::testing::TestWithParam<UnreadableJob> {};

TEST_P(UnreadableJobs, EndTheLoadNamingFileLineAndColumn) {
  const UnreadableJob& c = GetParam();
  SampleSite s;
  c.arrange(s);
  const auto r = s.Run(kLoad);
  EXPECT_EQ(r.status, 1) << r.err;
  const std::string message = kUnreadable + c.reason;
  const std::string log = s.Read("run/RizaZizi.log");
  // The load stopped there: the message is the log's last line, and no question followed.
  EXPECT_TRUE(log.ends_with("!! Abbruch !! " + message + "\r\n"))
      << "expected >" << Cp1252ToUtf8(message) << "<\n"
      << Cp1252ToUtf8(log);
  EXPECT_EQ(s.Read("tmp/SG_4711.err"), message + "\r\n");
  EXPECT_EQ(s.Read("run/dialogs.jsonl"), "") << "no dialog after the unreadable job";
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, UnreadableJobs,
    ::testing::Values(
        UnreadableJob{"Truncated",
                      [](SampleSite& s) { s.Write(kJob, s.Read(kJob).substr(0, 900)); },
                      "Zeile 14, Spalte 17: Das Dokument ist nicht wohlgeformt (Couldn't find end "
                      "of Start Tag Field line 14)"},
        UnreadableJob{"InvalidUtf8",
                      [](SampleSite& s) { s.Edit(kJob, "M\xC3\xBCller", "M\xFCller"); },
                      "Zeile 8, Spalte 60: Ungültiges Zeichen oder falsche Kodierung (Input is "
                      "not proper UTF-8, indicate encoding ! Bytes: 0xFC 0x6C 0x6C 0x65)"_cp},
        UnreadableJob{"DeeperThan256", NestedJob(257),
                      "Zeile 4, Spalte 778: Das Dokument ist zu tief geschachtelt (Excessive "
                      "depth in document: 256 use XML_PARSE_HUGE option)"},
        UnreadableJob{
            "EntityDeclaration",
            [](SampleSite& s) { s.Edit(kJob, "?>", "?>\n<!DOCTYPE x [<!ENTITY geheim \"g\">]>"); },
            "Zeile 2, Spalte 33: Entitätsdeklaration 'geheim' ist nicht erlaubt"_cp},
        UnreadableJob{"Empty", [](SampleSite& s) { s.Write(kJob, ""); },
                      "Zeile 1, Spalte 1: Das Dokument ist leer"},
        UnreadableJob{"Utf32WithItsMark", [](SampleSite& s) { s.Write(kJob, Utf32Job(s)); },
                      "Zeile 1, Spalte 1: Die Kodierung UTF-32 wird nicht unterstützt (UTF-8, "
                      "UTF-16 oder ISO-8859-1 verwenden)"_cp}),
    [](const auto& info) { return std::string(info.param.name); });

struct RecordCase {
  const char* name;
  std::string transcript;  // run-relative; the record is asked for at that path
  std::string report;
  int status;
  std::string told;  // on standard error, CP1252, with "@RUN@" for the run folder
};

void PrintTo(const RecordCase& c, std::ostream* os) { *os << c.name; }

class RequestedRecords : public ::testing::TestWithParam<RecordCase> {};

TEST_P(RequestedRecords, MissingOnesChangeTheStatusAndAreNamed) {
  const RecordCase& c = GetParam();
  SampleSite s;
  std::string answers;
  for (const std::string& a : SampleSite::SampleAnswers()) answers += a + "\n";
  s.Write("answers.txt", answers);
  fs::create_directories(s.dir.Path() / "run" / "ordner");
  const std::string run = s.Path("run");
  const auto r =
      testing::RunQuenda({"--headless", "--program-dir", s.Path("site/program"), "--answers",
                          s.Path("answers.txt"), "--transcript", run + "/" + c.transcript,
                          "--report", run + "/" + c.report, "--", SampleSite::SampleCommandLine()},
                         run);
  EXPECT_EQ(r.status, c.status) << r.err;
  std::string told = c.told;
  for (auto at = told.find("@RUN@"); at != std::string::npos; at = told.find("@RUN@", at)) {
    told.replace(at, 5, run);
  }
  EXPECT_NE(r.err.find(Cp1252ToUtf8(told)), std::string::npos)
      << "expected >" << Cp1252ToUtf8(told) << "<\n"
      << r.err;
  EXPECT_EQ(LeftoverTemporaryFiles(s.dir.Path()), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    TranscriptAndReport, RequestedRecords,
    ::testing::Values(
        RecordCase{"BothWritten", "dialogs.jsonl", "report.json", 0, "@RUN@/report.json\n"},
        RecordCase{"TranscriptIsAFolder", "ordner", "report.json", 5,
                   "Quenda: Das Dialogprotokoll @RUN@/ordner wurde nicht geschrieben: Fehler "
                   "beim Zugriff auf Pfad/Datei"},
        RecordCase{"TranscriptInAMissingFolder", "fehlt/dialogs.jsonl", "report.json", 5,
                   "Das Dialogprotokoll @RUN@/fehlt/dialogs.jsonl wurde nicht geschrieben"},
        RecordCase{"ReportIsAFolder", "dialogs.jsonl", "ordner", 5,
                   "Quenda: Der Bericht @RUN@/ordner wurde nicht geschrieben: Fehler beim "
                   "Zugriff auf Pfad/Datei: @RUN@/ordner"},
        RecordCase{"ReportInAMissingFolder", "dialogs.jsonl", "fehlt/report.json", 5,
                   "Quenda: Der Bericht @RUN@/fehlt/report.json wurde nicht geschrieben: Pfad "
                   "nicht gefunden"}),
    [](const auto& info) { return std::string(info.param.name); });

// A run that failed keeps its own status; the missing report is still told.
TEST(RequestedRecords, AFailedRunKeepsItsStatus) {
  SampleSite s;
  s.Edit(kJob, ">FLOW5<", ">MANUELL<");
  const std::string run = s.Path("run");
  const auto r =
      testing::RunQuenda({"--headless", "--program-dir", s.Path("site/program"), "--report",
                          run + "/fehlt/report.json", "--", SampleSite::SampleCommandLine()},
                         run);
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("Der Bericht " + run + "/fehlt/report.json wurde nicht geschrieben"),
            std::string::npos)
      << r.err;
}

}  // namespace
}  // namespace quenda
