#include "app/run_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>

#include "app/command_runner.h"
#include "app/main_window.h"
#include "app/options.h"
#include "app/program.h"
#include "app/startup.h"
#include "base/error.h"
#include "platform/sha256.h"
#include "session/session.h"
#include "support/sample_site.h"
#include "text/tokens.h"
#include "ui/headless_ui.h"

namespace quenda {
namespace {

using Json = nlohmann::json;
using testing::SampleSite;

int TemporaryFilesIn(const std::filesystem::path& folder) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    count += entry.path().filename().string().find(".tmp") != std::string::npos;
  }
  return count;
}

// The sample job run in-process as headless mode runs it with --report (or without):
// load, Start, and the status of the end.
class SampleReport : public ::testing::Test {
 protected:
  int Run(bool withRecord = true) {
    sample = std::make_unique<testing::SampleSession>(site);
    session = &sample->S();
    if (withRecord) session->record.Want();
    MainWindow model(*session);
    try {
      Main(*session);
      model.StartPressed();
    } catch (const RunEnded& end) {
      return end.ExitStatus();
    }
    return -1;
  }
  SampleSite site;
  std::unique_ptr<testing::SampleSession> sample;
  Session* session = nullptr;
};

const Json* Named(const Json& list, const std::string& key, const std::string& value) {
  for (const Json& item : list) {
    if (item.at(key) == value) return &item;
  }
  return nullptr;
}

TEST_F(SampleReport, SuccessfulRunReportsWhatItComputedAndWrote) {
  const int status = Run();
  ASSERT_EQ(status, 0);
  const Json report = Json::parse(RunReportJson(*session, status));
  EXPECT_EQ(report.at("exitStatus"), 0);
  EXPECT_EQ(report.at("message"), "Quenda ist beendet!");
  EXPECT_EQ(report.at("job"), "T:\\003\\Flow\\Transfer\\Job_4711.xml");
  EXPECT_EQ(report.at("configuration").at("customerGroup"), "003");
  EXPECT_EQ(report.at("configuration").at("testMode"), false);
  const Json* dataVersion = Named(report.at("parameters"), "name", "DataVersion");
  ASSERT_NE(dataVersion, nullptr) << report.at("parameters").dump();
  EXPECT_EQ(dataVersion->at("value"), "02");
  ASSERT_FALSE(report.at("slots").empty());
  EXPECT_EQ(report.at("slots")[0].at("label"), "KT_HWNR");
  EXPECT_EQ(report.at("slots")[0].at("kind"), "KTX");
  const Json& files = report.at("files");
  ASSERT_GT(files.size(), 5u) << files.dump();
  for (const Json& f : files) {
    const std::string path = f.at("path");
    EXPECT_EQ(f.at("bytes"), std::filesystem::file_size(session->files.Native(path))) << path;
  }
  for (const std::string& path : {std::string("T:\\EDC21\\MX21K47\\0281020471\\MX21K47_02s.kon"),
                                  std::string("U:\\Freigaben\\Tarvell.Bat")}) {
    EXPECT_NE(Named(files, "path", path), nullptr) << path << " in " << files.dump();
  }
  EXPECT_EQ(files.back().at("path"), site.Path("run") + "/RizaZizi.log")
      << "the run log's final place comes last";
}

// Fingerprints cost a pass over every input and output: a run that writes no report
// takes none; the same run with one does.
TEST_F(SampleReport, OnlyARunWithARecordFingerprints) {
  for (const bool withRecord : {false, true}) {
    const std::uint64_t before = Sha256::Begun();
    ASSERT_EQ(Run(withRecord), 0);
    EXPECT_EQ(Sha256::Begun() > before, withRecord) << "with record: " << withRecord;
  }
}

bool IsUtcTime(const std::string& text) {
  return text.size() == 20 && text[4] == '-' && text[10] == 'T' && text.back() == 'Z';
}

TEST_F(SampleReport, SuccessfulRunReportsSchema2) {
  const int status = Run();
  ASSERT_EQ(status, 0);
  const Json report = Json::parse(RunReportJson(*session, status));
  EXPECT_EQ(nlohmann::ordered_json::parse(RunReportJson(*session, status)).begin().key(),
            "schemaVersion");
  EXPECT_EQ(report.at("schemaVersion"), 2);
  EXPECT_EQ(report.at("quenda").at("version"), AppVersionText());
  EXPECT_EQ(report.at("reason"), "success");
  const Json& run = report.at("run");
  EXPECT_TRUE(IsUtcTime(run.at("startedAt"))) << run.dump();
  EXPECT_TRUE(IsUtcTime(run.at("endedAt"))) << run.dump();
  EXPECT_EQ(run.at("user"), "tester");
  EXPECT_EQ(run.at("computer"), "TESTPC");
  EXPECT_EQ(run.at("configPath"), "\\\\quenda-fs\\tools\\TOOLS\\Kolpator\\Data");
  EXPECT_EQ(run.at("commandLine"), SampleSite::SampleCommandLine());

  // Each output's digest, taken from the bytes as written, against the test's own
  // computation of the file as it is now.
  for (const Json& f : report.at("files")) {
    const std::string path = f.at("path");
    std::string bytes = session->files.ReadAll(path);
    EXPECT_EQ(f.at("sha256"), Sha256Hex(bytes)) << path;
  }
  // Inputs in the order first read, each as it was read (the job before its write-back).
  const std::vector<std::string> roles = {"job", "globalTable", "customerTable", "list", "list",
                                          "dab", "objectStore", "hex",           "damos"};
  std::vector<std::string> listed;
  for (const Json& input : report.at("inputs")) listed.push_back(input.at("role"));
  EXPECT_EQ(listed, roles) << report.at("inputs").dump();
  SampleSite pristine;
  for (const Json& input : report.at("inputs")) {
    const std::string path = input.at("path");
    const std::string bytes =
        input.at("role") == "job" ? pristine.Read(testing::kJob) : session->files.ReadAll(path);
    EXPECT_EQ(input.at("bytes"), bytes.size()) << path;
    EXPECT_EQ(input.at("sha256"), Sha256Hex(bytes)) << path;
  }
  // Every dialog with its answer, in order: the first is the intake's question.
  const Json& dialogs = report.at("dialogs");
  ASSERT_GE(dialogs.size(), SampleSite::SampleAnswers().size());
  EXPECT_EQ(dialogs[0].at("kind"), "input");
  EXPECT_EQ(dialogs[0].at("text"), "PST-Kennung der Variante");
  EXPECT_EQ(dialogs[0].at("answer"), "V2");
  EXPECT_EQ(dialogs[1].at("answer"), "Yes");
  for (const Json& d : dialogs) {
    EXPECT_TRUE(d.at("answer").is_string()) << d.dump();
    EXPECT_TRUE(IsUtcTime(d.at("at"))) << d.dump();
  }
  // Each parameter names its table and its line there (the header is line 1).
  const std::vector<std::string> table = session->files.ReadLines(session->job.ConfigFile);
  for (const Json& p : report.at("parameters")) {
    EXPECT_EQ(p.at("table"), session->job.ConfigFile);
    const int line = p.at("line");
    ASSERT_GE(line, 2) << p.dump();
    ASSERT_LE(line, static_cast<int>(table.size())) << p.dump();
    EXPECT_EQ(Trim(GetToken(table[static_cast<std::size_t>(line) - 1], 0, ";")),
              p.at("name").get<std::string>());
  }
}

// A question left unanswered during the intake: the parameters stored before it are
// reported, with the reason a machine reads.
TEST_F(SampleReport, UnansweredQuestionDuringTheIntakeReportsTheParametersSoFar) {
  sample = std::make_unique<testing::SampleSession>(site, std::vector<std::string>{});
  session = &sample->S();
  MainWindow model(*session);
  const std::optional<int> status = RunCommand(*session, [&] { Main(*session); });
  ASSERT_EQ(status, std::optional<int>(kExitUnanswered));
  const Json report = Json::parse(RunReportJson(*session, *status));
  EXPECT_EQ(report.at("reason"), "unanswered");
  const Json& parameters = report.at("parameters");
  ASSERT_FALSE(parameters.empty());
  EXPECT_EQ(parameters[0].at("name"), "JobNumber");
  EXPECT_EQ(parameters[0].at("value"), "4711");
  // The row of the unanswered question (line 12) and those after it are not there.
  EXPECT_EQ(parameters.back().at("line"), 11) << parameters.dump();
  EXPECT_EQ(report.at("dialogs").back().at("text"), "PST-Kennung der Variante");
  EXPECT_TRUE(report.at("dialogs").back().at("answer").is_null());
}

// Ende and closing the window say so; an end by the run's own check is "aborted".
TEST_F(SampleReport, ReasonOfEndeCloseAndAbort) {
  const struct {
    std::function<void(MainWindow&)> command;
    const char* reason;
  } cases[] = {
      {[](MainWindow& m) { m.EndePressed(); }, "ended"},
      {[](MainWindow& m) { m.CloseRequested(); }, "closed"},
      {[](MainWindow&) { throw Error(kErrFileNotFound, "weg"); }, "error"},
  };
  for (const auto& c : cases) {
    SampleSite fresh;
    testing::SampleSession one(fresh);
    MainWindow model(one.S());
    const std::optional<int> status = RunCommand(one.S(), [&] {
      Main(one.S());
      c.command(model);
    });
    ASSERT_EQ(status, std::optional<int>(kExitAborted)) << c.reason;
    EXPECT_EQ(Json::parse(RunReportJson(one.S(), *status)).at("reason"), c.reason);
  }
  site.Edit(testing::kJob, ">FLOW5<", ">SAP<");
  const int status = Run();
  EXPECT_EQ(Json::parse(RunReportJson(*session, status)).at("reason"), "aborted");
}

TEST_F(SampleReport, RunEndedWhileLoadingReportsStatusAndMessage) {
  site.Edit(testing::kJob, ">FLOW5<", ">SAP<");
  const int status = Run();
  ASSERT_EQ(status, 1);
  const std::string path = site.Path("run/report.json");
  ASSERT_TRUE(WriteRunReport(*session, status, path));
  EXPECT_EQ(TemporaryFilesIn(site.Path("run")), 0);
  const Json report = Json::parse(site.Read("run/report.json"));
  EXPECT_EQ(report.at("exitStatus"), 1);
  EXPECT_EQ(report.at("message"), "Der Job stammt nicht aus FLOW5 oder ToolTest");
  EXPECT_TRUE(report.at("parameters").empty());
  EXPECT_TRUE(report.at("slots").empty());
}

TEST(RunReport, UnwritableReportIsRefusedAndLeavesNoTemporaryFile) {
  testing::SessionFixture fixture;
  const std::string path = fixture.dir.File("missing/report.json");
  fixture.dir.Write("report.json", "alt");
  std::filesystem::permissions(fixture.dir.Path() / "report.json",
                               std::filesystem::perms::owner_read);
  EXPECT_FALSE(WriteRunReport(fixture.S(), 1, path));
  EXPECT_FALSE(WriteRunReport(fixture.S(), 1, fixture.dir.File("report.json")));
  EXPECT_EQ(fixture.dir.Read("report.json"), "alt");
  EXPECT_EQ(TemporaryFilesIn(fixture.dir.Path()), 0);
}

}  // namespace
}  // namespace quenda
