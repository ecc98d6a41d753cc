// --qualify runs the shipped reference cases and passes only when every output is as the kit
// expects; a kit whose expectation the program does not meet fails, naming case and file.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>

#include "support/fake_system.h"
#include "support/run_binary.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using Json = nlohmann::ordered_json;

// A copy of the kit as the build places it beside the program.
struct KitCopy {
  testing::TempDir dir;
  KitCopy() {
    fs::copy(fs::path(QUENDA_EXAMPLES) / "qualify", dir.Path() / "kit",
             fs::copy_options::recursive);
    fs::copy(fs::path(QUENDA_EXAMPLES) / "site", dir.Path() / "kit" / "site",
             fs::copy_options::recursive);
  }
  Json Cases() const { return Json::parse(dir.Read("kit/cases.json")); }
  // Keeps only the case `name`, changed by `change`.
  void Only(const std::string& name, const std::function<void(Json&)>& change) const {
    Json cases = Cases();
    for (Json& c : cases["cases"]) {
      if (c["name"] != name) continue;
      change(c);
      cases["cases"] = Json::array({c});
      dir.Write("kit/cases.json", cases.dump());
      return;
    }
    ADD_FAILURE() << "no case " << name;
  }
  // Standard output with LF alone (the Windows build writes CR LF).
  testing::RunResult Qualify() const {
    testing::RunResult run = testing::RunQuenda(
        {"--qualify", "--out", dir.File("q"), "--kit", dir.File("kit")}, dir.Path().string());
    std::erase(run.out, '\r');
    return run;
  }
};

TEST(QualifyE2e, ShippedCasesPassAndTheReportTellsEachWithItsHashes) {
  const KitCopy kit;
  const testing::RunResult run =
      testing::RunQuenda({"--qualify", "--out", kit.dir.File("q")}, kit.dir.Path().string());
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  const Json report = Json::parse(kit.dir.Read("q/qualifikation.json"));
  EXPECT_EQ(report["kind"], "qualification");
  EXPECT_EQ(report["failed"], 0);
  ASSERT_EQ(report["cases"].size(), kit.Cases()["cases"].size());
  for (const Json& c : report["cases"]) {
    EXPECT_EQ(c["result"], "passed") << c.dump(2);
    EXPECT_FALSE(c["files"].empty()) << c["name"];
    if (c["expectedStatus"] != 0) continue;
    // Every release is also read back by the release check, without a finding.
    ASSERT_TRUE(c["checkRelease"].is_object()) << c["name"];
    EXPECT_GT(c["checkRelease"]["checks"], 10) << c["name"];
    EXPECT_EQ(c["checkRelease"]["findings"], 0) << c["name"];
  }
  const std::string text = kit.dir.Read("q/qualifikation.txt");
  EXPECT_NE(text.find("bestanden: beispiel – Der Beispieljob"), std::string::npos) << text;
  EXPECT_NE(text.find("Qualifikation: 6 bestanden, 0 nicht bestanden\n"), std::string::npos);
  EXPECT_FALSE(fs::exists(report["workFolder"].get<std::string>())) << "copies left behind";
}

TEST(QualifyE2e, AnExpectationNotMetFailsTheCaseNamingIt) {
  const struct {
    const char* name;
    std::function<void(Json&)> change;
    const char* finding;
  } cases[] = {
      {"a byte of an expected output",
       [](Json& c) {
         c["expect"][0] = {{"file", c["expect"][0]["file"]}, {"text", "anders"}};
       },
       "MX21K47_01.dab weicht ab dem Byte 0 von der Erwartung ab"},
      {"another status", [](Json& c) { c["status"] = 1; }, "Status 0 statt 1"},
      {"a file that should be missing",
       [](Json& c) {
         c["expect"].push_back({{"file", "home/xx.txt"}, {"absent", true}});
       },
       "home/xx.txt wurde geschrieben, soll aber fehlen"},
      {"a missing file",
       [](Json& c) {
         c["expect"].push_back({{"file", "run/fehlt.txt"}, {"text", ""}});
       },
       "run/fehlt.txt fehlt"},
      {"a line the log lacks",
       [](Json& c) {
         c["expect"].push_back({{"file", "run/RizaZizi.log"}, {"contains", "Nie geschrieben"}});
       },
       "run/RizaZizi.log enthält nicht >Nie geschrieben<"},
  };
  for (const auto& c : cases) {
    const KitCopy kit;
    kit.Only("beispiel", c.change);
    const testing::RunResult run = kit.Qualify();
    EXPECT_EQ(run.status, 1) << c.name << "\n" << run.out;
    EXPECT_NE(run.out.find("NICHT bestanden: beispiel\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(c.finding), std::string::npos) << c.name << "\n" << run.out;
    const Json report = Json::parse(kit.dir.Read("q/qualifikation.json"));
    EXPECT_EQ(report["failed"], 1) << c.name;
    EXPECT_TRUE(fs::exists(report["workFolder"].get<std::string>())) << "kept for a look";
    fs::remove_all(report["workFolder"].get<std::string>());
  }
}

TEST(QualifyE2e, AKitOrAReportFolderThatCannotBeUsedEndsWithTwo) {
  const struct {
    const char* name;
    std::function<void(const KitCopy&)> change;
    const char* message;
  } cases[] = {
      {"no cases.json", [](const KitCopy& k) { fs::remove(k.dir.Path() / "kit/cases.json"); },
       "Die Referenzfälle können nicht gelesen werden"},
      {"not JSON", [](const KitCopy& k) { k.dir.Write("kit/cases.json", "{"); }, "fehlerhaft"},
      {"a path out of the copy",
       [](const KitCopy& k) {
         k.Only("beispiel", [](Json& c) { c["expect"][0]["file"] = "../../etc/passwd"; });
       },
       "kein Pfad eines Falls: ../../etc/passwd"},
      {"two cases of one name",
       [](const KitCopy& k) {
         Json cases = k.Cases();
         cases["cases"][1]["name"] = "beispiel";
         k.dir.Write("kit/cases.json", cases.dump());
       },
       "kein eigener Name eines Falls: beispiel"},
      {"a report folder that is a file", [](const KitCopy& k) { k.dir.Write("q", "Datei"); },
       "Der Ordner des Qualifikationsberichts: "},
  };
  for (const auto& c : cases) {
    const KitCopy kit;
    c.change(kit);
    const testing::RunResult run = kit.Qualify();
    EXPECT_EQ(run.status, 2) << c.name;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.name << "\n" << run.err;
    EXPECT_FALSE(fs::is_directory(kit.dir.Path() / "q")) << c.name;
  }
}

}  // namespace
}  // namespace quenda
