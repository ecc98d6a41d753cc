// --plan makes the whole sample run without writing a file of the site and tells every
// file it would write; --apply writes exactly that, or nothing when the site has moved on.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/sha256.h"
#include "support/sample_site.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::SampleSite;
using Json = nlohmann::ordered_json;

std::vector<std::string> PlanArgs(SampleSite& site, const std::string& commandLine) {
  std::string answers;
  for (const std::string& a : SampleSite::SampleAnswers()) answers += a + "\n";
  site.Write("answers.txt", answers);
  return {"--plan",
          site.Path("run/p.json"),
          "--headless",
          "--program-dir",
          site.Path("site/program"),
          "--answers",
          site.Path("answers.txt"),
          "--",
          commandLine};
}

testing::RunResult Plan(SampleSite& site,
                        const std::string& commandLine = SampleSite::SampleCommandLine()) {
  return testing::RunQuenda(PlanArgs(site, commandLine), site.Path("run"));
}

testing::RunResult Apply(SampleSite& site) {
  return testing::RunQuenda(
      {"--apply", site.Path("run/p.json"), "--report", site.Path("run/report.json")},
      site.Path("run"));
}

// Every entry below the site's root: files with their bytes and permissions, folders as such;
// the plan, the run log and the trace of the command line are the run's own.
std::map<std::string, std::string> Snapshot(const SampleSite& site) {
  std::map<std::string, std::string> entries;
  for (const auto& e : fs::recursive_directory_iterator(site.dir.Path())) {
    const std::string name = fs::relative(e.path(), site.dir.Path()).generic_string();
    if (name == "run/p.json" || name == "run/RizaZizi.log" || name == "home/xx.txt" ||
        name == "answers.txt") {
      continue;  // the answers are the test's own
    }
    const std::string mode = std::to_string(static_cast<int>(e.status().permissions()));
    entries[name] = e.is_regular_file() ? mode + ":" + site.Read(name) : mode + ":<Ordner>";
  }
  return entries;
}

// The entries that differ between two snapshots, by name.
std::vector<std::string> Moved(const std::map<std::string, std::string>& before,
                               const std::map<std::string, std::string>& after) {
  std::vector<std::string> names;
  for (const auto& [name, entry] : after) {
    if (!before.contains(name) || before.at(name) != entry) names.push_back(name);
  }
  for (const auto& [name, entry] : before) {
    if (!after.contains(name)) names.push_back(name);
  }
  return names;
}

Json PlanOf(const SampleSite& site) { return Json::parse(site.Read("run/p.json")); }

const Json* ChangeOf(const Json& plan, const std::string& path) {
  for (const Json& change : plan["changes"]) {
    if (change["path"] == path) return &change;
  }
  return nullptr;
}

std::string LastLine(std::string text) {
  std::erase(text, '\r');
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text.substr(text.find_last_of('\n') + 1);
}

TEST(PlanE2e, SamplePlanTellsEveryFileWithItsActionAndTheCounts) {
  SampleSite site;
  const testing::RunResult run = Plan(site);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(LastLine(run.out), "Plan: 11 neu, 1 ersetzt, 1 angehängt, 0 unverändert") << run.out;
  const Json plan = PlanOf(site);
  EXPECT_EQ(plan.begin().key(), "schemaVersion");
  EXPECT_EQ(plan["schemaVersion"], 1);
  EXPECT_EQ(plan["kind"], "plan");
  EXPECT_EQ(plan["end"]["reason"], "success");
  EXPECT_TRUE(plan["createdAt"].get<std::string>().ends_with("Z"));
  const std::pair<std::string, std::string> expected[] = {
      {"T:\\003\\Flow\\Transfer\\Job_4711.xml", "replace"},
      {"T:\\EDC21\\MX21K47\\0281020471\\MX21K47_01.hex", "create"},
      {"T:\\EDC21\\MX21K47\\0281020471\\MX21K47_02s.kon", "create"},
      {"T:\\EDC21\\MX21K47\\0281020471\\ParaSerie.bat", "create"},
      {"U:\\Freigaben\\Tarvell.Bat", "append"},
  };
  for (const auto& [path, action] : expected) {
    const Json* change = ChangeOf(plan, path);
    ASSERT_NE(change, nullptr) << path << " in " << plan["changes"].dump();
    EXPECT_EQ((*change)["action"], action) << path;
    EXPECT_EQ((*change)["before"].is_null(), action == "create") << path;
    EXPECT_EQ((*change)["after"]["sha256"].get<std::string>().size(), 64u) << path;
    EXPECT_EQ(change->contains("lines"), !path.ends_with(".hex")) << path;
  }
  const Json& appended = (*ChangeOf(plan, "U:\\Freigaben\\Tarvell.Bat"))["lines"];
  EXPECT_EQ(appended.back(),
            "Tarvell.exe \"T:\\EDC21\\MX21K47\\0281020471\\MX21K47_02.dab||12|003|PRJ-MX21\"");
  const Json& job = (*ChangeOf(plan, "T:\\003\\Flow\\Transfer\\Job_4711.xml"))["lines"];
  EXPECT_NE(std::ranges::find(job,
                              "+      <FD:Field Name=\"Customer_plant_index\" "
                              "FlowType=\"String\">07</FD:Field>"),
            job.end())
      << job.dump();
}

TEST(PlanE2e, PlanLeavesEveryFileAndFolderOfTheSiteAsItWas) {
  SampleSite site;
  const auto before = Snapshot(site);
  const testing::RunResult run = Plan(site);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Moved(before, Snapshot(site)), std::vector<std::string>{});
}

TEST(PlanE2e, TwoPlansOfTheSameSiteDifferOnlyInTheirTime) {
  SampleSite site;
  ASSERT_EQ(Plan(site).status, 0);
  Json first = PlanOf(site);
  ASSERT_EQ(Plan(site).status, 0);
  Json second = PlanOf(site);
  first.erase("createdAt");
  second.erase("createdAt");
  EXPECT_EQ(first.dump(1), second.dump(1));
}

TEST(PlanE2e, PlanOfARunThatWouldBeRefusedSaysHowItWouldEnd) {
  SampleSite site;
  site.Edit(testing::kJob, ">FLOW5<", ">SAP<");
  const testing::RunResult run = Plan(site);
  ASSERT_EQ(run.status, 1) << run.err;
  const Json plan = PlanOf(site);
  EXPECT_EQ(plan["end"]["message"], "Der Job stammt nicht aus FLOW5 oder ToolTest");
  EXPECT_NE(run.out.find("Der Lauf würde nicht erfolgreich enden"), std::string::npos) << run.out;
}

TEST(PlanE2e, AppliedPlanWritesTheFilesItTold) {
  SampleSite site;
  ASSERT_EQ(Plan(site).status, 0);
  const testing::RunResult apply = Apply(site);
  ASSERT_EQ(apply.status, 0) << apply.err;
  const Json plan = PlanOf(site);
  const std::pair<std::string, std::string> files[] = {
      {"T:\\EDC21\\MX21K47\\0281020471\\MX21K47_02s.kon",
       std::string(testing::kCustomerFolder) + "MX21K47_02s.kon"},
      {"T:\\EDC21\\MX21K47\\0281020471\\MX21K47_01.hex",
       std::string(testing::kCustomerFolder) + "MX21K47_01.hex"},
      {"U:\\Freigaben\\Tarvell.Bat", testing::kTarvell},
      {"T:\\003\\Flow\\Transfer\\Job_4711.xml", testing::kJob},
  };
  for (const auto& [path, file] : files) {
    EXPECT_EQ(Sha256Hex(site.Read(file)), (*ChangeOf(plan, path))["after"]["sha256"]) << path;
  }
  const testing::RunResult verify =
      testing::RunQuenda({"--verify", site.Path("run/report.json")}, site.Path("."));
  EXPECT_EQ(verify.status, 0) << verify.out;

  // The report holds the plan and, for each of its files, both hashes.
  const Json applied = Json::parse(site.Read("run/report.json"))["plan"];
  EXPECT_EQ(applied["sha256"], Sha256Hex(site.Read("run/p.json")));
  EXPECT_EQ(applied["createdAt"], plan["createdAt"]);
  ASSERT_EQ(applied["files"].size(), plan["changes"].size());
  for (std::size_t i = 0; i < plan["changes"].size(); ++i) {
    const Json& file = applied["files"][i];
    EXPECT_EQ(file["path"], plan["changes"][i]["path"]);
    EXPECT_EQ(file["planned"], plan["changes"][i]["after"]["sha256"]) << file["path"];
    EXPECT_EQ(file["written"], file["planned"]) << file["path"];
    EXPECT_EQ(file["asPlanned"], true) << file["path"];
  }
}

TEST(PlanE2e, AFileThatComesOutOtherwiseThanPlannedFailsTheApplyNamingIt) {
  SampleSite site;
  ASSERT_EQ(Plan(site).status, 0);
  Json plan = PlanOf(site);
  const std::string lied(64, '0');
  for (Json& change : plan["changes"]) {
    if (change["path"] == "U:\\Freigaben\\Tarvell.Bat") change["after"]["sha256"] = lied;
  }
  site.Write("run/p.json", plan.dump());
  const testing::RunResult apply = Apply(site);
  EXPECT_EQ(apply.status, 1);
  const std::string written = Sha256Hex(site.Read(testing::kTarvell));
  EXPECT_NE(apply.err.find("Nicht wie geplant geschrieben: U:\\Freigaben\\Tarvell.Bat: SHA-256 " +
                           written + " statt " + lied),
            std::string::npos)
      << apply.err;
  int differing = 0;
  const Json report = Json::parse(site.Read("run/report.json"));
  for (const Json& file : report["plan"]["files"]) {
    if (file["asPlanned"] == true) continue;
    ++differing;
    EXPECT_EQ(file["path"], "U:\\Freigaben\\Tarvell.Bat");
    EXPECT_EQ(file["written"], written);
  }
  EXPECT_EQ(differing, 1);
}

TEST(PlanE2e, APlanIsRefusedWhenAnInputOrATargetChangedSince) {
  const struct {
    std::string path;  // as the plan names it
    std::function<void(SampleSite&)> change;
  } cases[] = {
      {"T:\\003\\Flow\\Transfer\\Job_4711.xml",
       [](SampleSite& s) { s.Edit(testing::kJob, "20240315", "20240316"); }},
      {"\\\\quenda-fs\\tools\\TOOLS\\Kolpator\\Data\\Config_012.csv",
       [](SampleSite& s) { s.Write(testing::kConfig012, s.Read(testing::kConfig012) + "\r\n"); }},
      {"T:\\EDC21\\MX21K47\\dab\\MX21K47_01.hex",
       [](SampleSite& s) {
         const std::string hex = std::string(testing::kProject) + "dab/MX21K47_01.hex";
         s.Write(hex, s.Read(hex) + ":00000001FF\r\n");
       }},
      {"T:\\EDC21\\MX21K47\\0281020471\\MX21K47_02s.kon",
       [](SampleSite& s) {
         fs::create_directories(s.Path(testing::kCustomerFolder));
         s.Write(std::string(testing::kCustomerFolder) + "MX21K47_02s.kon", "alt\r\n");
       }},
  };
  for (const auto& c : cases) {
    SampleSite site;
    ASSERT_EQ(Plan(site).status, 0) << c.path;
    c.change(site);
    const auto before = Snapshot(site);
    const testing::RunResult apply = Apply(site);
    EXPECT_EQ(apply.status, 4) << c.path << ": " << apply.err;
    EXPECT_NE(apply.err.find("Der Plan ist veraltet: " + c.path +
                             " hat sich seit dem Plan geändert (Plan vom " +
                             PlanOf(site)["createdAt"].get<std::string>() + ")"),
              std::string::npos)
        << apply.err;
    EXPECT_EQ(Moved(before, Snapshot(site)), std::vector<std::string>{}) << c.path;
  }
}

TEST(PlanE2e, PlanOfTheNextDataVersionComparesItsValuesWithThePreviousOne) {
  SampleSite site;
  ASSERT_EQ(site.Run(SampleSite::SampleAnswers()).status, 0);
  site.Edit(testing::kJob, "DS02", "DS03");
  site.Edit(testing::kJob, "MX21K47_02.hex", "MX21K47_03.hex");
  site.Edit(testing::kJob, ">1037541234<", ">1037541235<");
  testing::RunResult run = Plan(site);
  ASSERT_EQ(run.status, 0) << run.err;
  std::erase(run.out, '\r');  // standard output of the Windows build ends lines with CR LF
  const Json previous = PlanOf(site)["previous"];
  ASSERT_FALSE(previous.is_null()) << run.out;
  EXPECT_EQ(previous["version"], "02");
  const std::string kon = "T:\\EDC21\\MX21K47\\0281020471\\MX21K47_03s.kon";
  const Json expected = {{"label", "KT_SWNR"},
                         {"kind", "KTX"},
                         {"before", "1037541234"},
                         {"after", "1037541235"},
                         {"file", kon}};
  EXPECT_NE(std::ranges::find(previous["values"], expected), previous["values"].end())
      << previous["values"].dump();
  EXPECT_NE(run.out.find("Vergleich mit Datenstand 02:\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("        KT_SWNR: >1037541234< → >1037541235<\n"), std::string::npos)
      << run.out;
}

TEST(PlanE2e, FirstDataVersionHasNoPrevious) {
  SampleSite site;
  ASSERT_EQ(Plan(site).status, 0);
  EXPECT_TRUE(PlanOf(site)["previous"].is_null());
}

}  // namespace
}  // namespace quenda
