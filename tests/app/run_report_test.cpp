#include "app/run_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>

#include "app/main_window.h"
#include "app/options.h"
#include "app/program.h"
#include "app/startup.h"
#include "base/error.h"
#include "session/session.h"
#include "support/sample_site.h"
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

// The sample job run in-process as headless mode runs it: load, Start, and the status of
// the end.
class SampleReport : public ::testing::Test {
 protected:
  int Run() {
    sample = std::make_unique<testing::SampleSession>(site);
    session = &sample->S();
    MainWindow model(*session);
    try {
      Main(*session, model);
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
