// The built program writes the release report of a headless run and names it on the last
// line of standard error; --verify checks a release folder against that report.
#include <gtest/gtest.h>

#include <functional>
#include <nlohmann/json.hpp>

#include "support/sample_site.h"

namespace quenda {
namespace {

using testing::SampleSite;

std::string LastLine(const std::string& text) {
  std::string trimmed = text;
  while (!trimmed.empty() && (trimmed.back() == '\n' || trimmed.back() == '\r')) trimmed.pop_back();
  const std::size_t at = trimmed.find_last_of('\n');
  return at == std::string::npos ? trimmed : trimmed.substr(at + 1);
}

testing::RunResult RunWithReport(SampleSite& site, std::string programDir = "") {
  std::string answers;
  for (const std::string& a : SampleSite::SampleAnswers()) answers += a + "\n";
  site.Write("answers.txt", answers);
  if (programDir.empty()) programDir = site.Path("site/program");
  return testing::RunQuenda(
      {"--headless", "--program-dir", programDir, "--answers", site.Path("answers.txt"), "--report",
       site.Path("run/report.json"), "--", SampleSite::SampleCommandLine()},
      site.Path("run"));
}

TEST(ReportE2e, SampleRunReportsEveryFileWithItsSize) {
  SampleSite site;
  const testing::RunResult run = RunWithReport(site);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(LastLine(run.err), site.Path("run/report.json"));
  const nlohmann::json report = nlohmann::json::parse(site.Read("run/report.json"));
  EXPECT_EQ(report.at("exitStatus"), 0);
  const struct {
    std::string path, file;
  } files[] = {
      {"T:\\EDC21\\MX21K47\\0281020471\\MX21K47_02s.kon",
       std::string(testing::kCustomerFolder) + "MX21K47_02s.kon"},
      {"U:\\Freigaben\\Tarvell.Bat", testing::kTarvell},
      {"RizaZizi.log", "run/RizaZizi.log"},
  };
  for (const auto& f : files) {
    bool listed = false;
    for (const auto& entry : report.at("files")) {
      if (entry.at("path") != f.path) continue;
      listed = true;
      EXPECT_EQ(entry.at("bytes"), site.Read(f.file).size()) << f.path;
    }
    EXPECT_TRUE(listed) << f.path << " in " << report.at("files").dump();
  }
}

TEST(ReportE2e, RunEndedEarlyStillReports) {
  SampleSite site;
  site.Edit(testing::kJob, ">FLOW5<", ">SAP<");
  const testing::RunResult run = RunWithReport(site);
  ASSERT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(LastLine(run.err), site.Path("run/report.json"));
  const nlohmann::json report = nlohmann::json::parse(site.Read("run/report.json"));
  EXPECT_EQ(report.at("exitStatus"), 1);
  EXPECT_EQ(report.at("message"), "Der Job stammt nicht aus FLOW5 oder ToolTest");
}

testing::RunResult Verify(SampleSite& site, const std::vector<std::string>& more = {}) {
  std::vector<std::string> args = {"--verify", site.Path("run/report.json")};
  args.insert(args.end(), more.begin(), more.end());
  return testing::RunQuenda(args, site.Path("."));
}

// True when `out` holds `line` whole (standard output ends its lines in CR LF on Windows).
bool HasLine(std::string out, const std::string& line) {
  std::erase(out, '\r');
  return ("\n" + out).find("\n" + line + "\n") != std::string::npos;
}

TEST(VerifyE2e, UntouchedReleaseIsOk) {
  SampleSite site;
  ASSERT_EQ(RunWithReport(site).status, 0);
  const testing::RunResult verify = Verify(site);
  EXPECT_EQ(verify.status, 0) << verify.out << verify.err;
  EXPECT_TRUE(HasLine(verify.out, "ok: U:\\Freigaben\\Tarvell.Bat")) << verify.out;
  EXPECT_TRUE(HasLine(verify.out, "ok: RizaZizi.log")) << verify.out;
  EXPECT_EQ(LastLine(verify.out), "15 ok, 0 geändert, 0 fehlt");
}

// One case per way a release file can differ from its report.
TEST(VerifyE2e, ChangedShortenedAndRemovedOutputsAreNamed) {
  const std::string folder = testing::kCustomerFolder;
  const struct {
    const char* name;
    std::function<void(SampleSite&)> change;
    std::string line;
  } cases[] = {
      {"changed", [&](SampleSite& s) { s.Edit(folder + "MX21K47_02s.kon", "KT_HWNR", "KT_HWNX"); },
       "geändert: T:\\EDC21\\MX21K47\\0281020471\\MX21K47_02s.kon"},
      {"shortened",
       [&](SampleSite& s) {
         const std::string bytes = s.Read(folder + "ParaSerie.bat");
         s.Write(folder + "ParaSerie.bat", bytes.substr(0, bytes.size() - 1));
       },
       "geändert: T:\\EDC21\\MX21K47\\0281020471\\ParaSerie.bat"},
      {"removed", [&](SampleSite& s) { s.Remove(folder + "MX21K47_02.dab"); },
       "fehlt: T:\\EDC21\\MX21K47\\0281020471\\MX21K47_02.dab"},
  };
  SampleSite site;
  ASSERT_EQ(RunWithReport(site).status, 0);
  for (const auto& c : cases) {
    c.change(site);
    const testing::RunResult verify = Verify(site);
    EXPECT_EQ(verify.status, 1) << c.name << verify.out;
    EXPECT_TRUE(HasLine(verify.out, c.line)) << c.name << "\n" << verify.out;
  }
  EXPECT_EQ(LastLine(Verify(site).out), "12 ok, 2 geändert, 1 fehlt");
}

TEST(VerifyE2e, InputsShowTheJobWrittenBackAsExpected) {
  SampleSite site;
  ASSERT_EQ(RunWithReport(site).status, 0);
  testing::RunResult verify = Verify(site, {"--inputs"});
  EXPECT_EQ(verify.status, 0) << verify.out;
  EXPECT_TRUE(HasLine(verify.out,
                      "geändert: T:\\003\\Flow\\Transfer\\Job_4711.xml (Eingabe job; erwartet, "
                      "der Lauf hat in diese Datei geschrieben)"))
      << verify.out;
  EXPECT_EQ(LastLine(verify.out), "24 ok, 1 geändert, 0 fehlt (davon 1 erwartet)");
  site.Edit("site/shares/tools/TOOLS/Kolpator/Data/Config_012.csv", "JobNumber", "JobNumbex");
  verify = Verify(site, {"--inputs"});
  EXPECT_EQ(verify.status, 1) << verify.out;
}

TEST(VerifyE2e, BrokenReportGivesStatus2) {
  SampleSite site;
  ASSERT_EQ(RunWithReport(site).status, 0);
  const std::string report = site.Read("run/report.json");
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"cut", report.substr(0, report.size() / 2)},
      {"schema 1", "{\"exitStatus\": 0, \"files\": []}"},
      {"files not a list", "{\"schemaVersion\": 2, \"run\": {}, \"inputs\": [], \"files\": 3}"},
  };
  for (const auto& c : cases) {
    site.Write("run/report.json", c.text);
    const testing::RunResult verify = Verify(site);
    EXPECT_EQ(verify.status, 2) << c.name;
    EXPECT_NE(verify.err.find("Bericht"), std::string::npos) << c.name << verify.err;
  }
  site.Remove("run/report.json");
  EXPECT_EQ(Verify(site).status, 2);
}

// A relative program folder means the run's current folder's, whether given to --verify or
// taken from the report of a run that was given it so.
TEST(VerifyE2e, RelativeProgramFolderGivesTheSameCountsAsTheAbsoluteOne) {
  SampleSite site;
  ASSERT_EQ(RunWithReport(site).status, 0);
  const std::string counts = "15 ok, 0 geändert, 0 fehlt";
  EXPECT_EQ(LastLine(Verify(site, {"--program-dir", "../site/program"}).out), counts);
  SampleSite relative;
  ASSERT_EQ(RunWithReport(relative, "../site/program").status, 0);
  EXPECT_EQ(LastLine(Verify(relative).out), counts);
}

// A crafted report cannot forge lines or steer the terminal: a line break and ESC in a path
// are printed as their codes in braces.
TEST(VerifyE2e, ControlCharactersOfAPathAreShownInBraces) {
  SampleSite site;
  site.Write("run/report.json",
             "{\"schemaVersion\": 2, \"run\": {\"currentDir\": \".\"}, \"inputs\": [], "
             "\"files\": [{\"path\": \"a\\nok: T:\\\\forged\\u001b[31m\", \"sha256\": null}]}");
  const testing::RunResult verify = Verify(site);
  EXPECT_EQ(verify.status, 1);
  EXPECT_TRUE(HasLine(verify.out, "fehlt: a{10}ok: T:\\forged{27}[31m")) << verify.out;
  EXPECT_EQ(verify.out.find('\x1b'), std::string::npos) << verify.out;
  EXPECT_FALSE(HasLine(verify.out, "ok: T:\\forged")) << verify.out;
}

}  // namespace
}  // namespace quenda
