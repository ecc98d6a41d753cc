// The built program checks the sample's release with --check-release: all ok as the run
// wrote it, and each mutation of a copy of that release found, named by file and label,
// variable or line.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "app/check_release_command.h"
#include "support/sample_site.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

using testing::SampleSite;

// The sample site after one headless run with --report run/report.json.
class CheckReleaseE2e : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    site_ = new SampleSite();
    std::string answers;
    for (const std::string& a : SampleSite::SampleAnswers()) answers += a + "\n";
    site_->Write("answers.txt", answers);
    const testing::RunResult run =
        testing::RunQuenda({"--headless", "--program-dir", site_->Path("site/program"), "--answers",
                            site_->Path("answers.txt"), "--report", site_->Path("run/report.json"),
                            "--", SampleSite::SampleCommandLine()},
                           site_->Path("run"));
    ASSERT_EQ(run.status, 0) << run.err;
  }
  static void TearDownTestSuite() {
    delete site_;
    site_ = nullptr;
  }

  static testing::RunResult Check(const std::vector<std::string>& more = {}) {
    std::vector<std::string> args = {"--check-release", site_->Path("run/report.json")};
    args.insert(args.end(), more.begin(), more.end());
    return testing::RunQuenda(args, site_->Path("."));
  }

  static SampleSite* site_;
};

SampleSite* CheckReleaseE2e::site_ = nullptr;

std::vector<std::string> Lines(std::string out) {
  std::erase(out, '\r');
  std::vector<std::string> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(CheckReleaseE2e, SampleReleaseIsAllOk) {
  const testing::RunResult run = Check();
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), std::to_string(lines.size() - 1) + " ok, 0 Fehler") << run.out;
  for (const std::string& line : lines) {
    EXPECT_FALSE(line.starts_with("Fehler: ")) << line;
  }
  EXPECT_NE(run.out.find("ok: T:\\EDC21\\MX21K47\\0281020471\\MX21K47_02s.kon: 20 Bl"),
            std::string::npos)
      << run.out;
}

TEST_F(CheckReleaseE2e, InProcessCheckCountsTheSameChecks) {
  std::ostringstream out;
  const ReleaseCheckResult result = CheckRelease(site_->Path("run/report.json"), "", out);
  EXPECT_TRUE(result.readable) << out.str();
  EXPECT_EQ(result.findings, 0) << out.str();
  EXPECT_EQ(result.ExitStatus(), 0);
  EXPECT_NE(out.str().find(std::to_string(result.checks) + " ok, 0 Fehler\n"), std::string::npos)
      << out.str();
}

struct Mutation {
  const char* name;
  std::string file;  // site-relative
  std::string from, to;
  std::string finding;  // what the finding's line must hold beside "Fehler: "
};

std::string Customer(const char* name) { return std::string(testing::kCustomerFolder) + name; }

TEST_F(CheckReleaseE2e, EachMutationIsFoundByName) {
  const std::string kon = "T:\\EDC21\\MX21K47\\0281020471\\MX21K47_02s.kon: ";
  const std::string datenstand =
      "\r\n* Konserve für KT_DATENSTAND mit Wert >02<\r\n\r\nTEXTSTRING KT_DATENSTAND\r\n"
      " TEXT    '02'\r\nEND\r\n\r\n"_cp;
  const Mutation cases[] = {
      {"value changed, comment kept", Customer("MX21K47_02s.kon"), " TEXT    '1037541234'",
       " TEXT    '1037541235'", kon + "Block KT_SWNR"},
      {"block removed", Customer("MX21K47_02s.kon"), datenstand, "",
       kon + "Slot 4 KT_DATENSTAND steht in 0 Bl"},
      {"kind changed", Customer("MX21K47_02s.kon"), "FESTWERTEBLOCK KW_IDENT",
       "FESTKENNLINIE KW_IDENT", kon + "Block KW_IDENT ist FESTKENNLINIE (FKL)"},
      {"value one character too long", Customer("MX21K47_02s.kon"),
       ">1037541234<\r\n\r\nTEXTSTRING KT_SWNR\r\n TEXT    '1037541234'",
       ">10375412345<\r\n\r\nTEXTSTRING KT_SWNR\r\n TEXT    '10375412345'",
       kon + "Block KT_SWNR: Wert >10375412345< hat 11 Zeichen"},
      {"SET value changed", Customer("ParaSerie.bat"), "SET FileBasis=MX21K47_01",
       "SET FileBasis=MX21K47_00", "ParaSerie.bat: die Variable FileBasis ist >MX21K47_00<"},
      {"plant index changed", Customer("ParaSerie.bat"), "SET IndexECUM=07", "SET IndexECUM=7",
       "ParaSerie.bat: die Variable IndexECUM ist >7<, erwartet >07<"},
      {"DAB line changed", Customer("MX21K47_02.dab"), "EPK-DST = MX21K47_02",
       "EPK-DST = MX21K47_03", "MX21K47_02.dab: Zeile 29 ist >EPK-DST = MX21K47_03<"},
      {"hex copy one byte short", Customer("MX21K47_01.hex"), "", "",
       "0281020471\\MX21K47_01.hex: hat 320 Bytes"},
      {"Tarvell entry doubled", testing::kTarvell, "", "",
       "Tarvell.Bat: der Eintrag für T:\\EDC21\\MX21K47\\0281020471\\MX21K47_02.dab steht 2-mal"_cp},
  };
  for (const Mutation& m : cases) {
    const std::string original = site_->Read(m.file);
    std::string mutated = original;
    if (m.name == std::string("hex copy one byte short")) {
      mutated.pop_back();
    } else if (m.name == std::string("Tarvell entry doubled")) {
      mutated += mutated.substr(mutated.rfind("Tarvell.exe"));
    } else {
      const std::size_t at = mutated.find(m.from);
      ASSERT_NE(at, std::string::npos) << m.name;
      mutated.replace(at, m.from.size(), m.to);
    }
    site_->Write(m.file, mutated);
    const testing::RunResult run = Check();
    site_->Write(m.file, original);
    EXPECT_EQ(run.status, 1) << m.name << "\n" << run.out << run.err;
    const std::string line = "\nFehler: ";
    const std::string out = "\n" + run.out;
    bool found = false;
    for (std::size_t at = out.find(line); at != std::string::npos; at = out.find(line, at + 1)) {
      const std::string text = out.substr(at + 1, out.find('\n', at + 1) - at - 1);
      found = found || text.find(Cp1252ToUtf8(m.finding)) != std::string::npos;
    }
    EXPECT_TRUE(found) << m.name << ": no finding with " << Cp1252ToUtf8(m.finding) << " in\n"
                       << run.out;
  }
  EXPECT_EQ(Check().status, 0) << "the release is restored";
}

TEST_F(CheckReleaseE2e, SarifNamesTheRuleOfEachFinding) {
  const std::string file = Customer("MX21K47_01.hex");
  const std::string original = site_->Read(file);
  site_->Write(file, original.substr(0, original.size() - 1));
  const testing::RunResult run = Check({"--format", "sarif"});
  site_->Write(file, original);
  EXPECT_EQ(run.status, 1) << run.err;
  const nlohmann::json sarif = nlohmann::json::parse(run.out);
  const nlohmann::json& results = sarif.at("runs").at(0).at("results");
  ASSERT_EQ(results.size(), 1u) << run.out;
  EXPECT_EQ(results.at(0).at("ruleId"), "QR-COPY");
  const std::string uri =
      results.at(0).at("locations").at(0).at("physicalLocation").at("artifactLocation").at("uri");
  EXPECT_TRUE(uri.starts_with("file:///") && uri.ends_with("/0281020471/MX21K47_01.hex")) << uri;
}

TEST_F(CheckReleaseE2e, UnreadableReportIsStatusTwo) {
  site_->Write("run/broken.json", "{\"schemaVersion\": 1}");
  const testing::RunResult run =
      testing::RunQuenda({"--check-release", site_->Path("run/broken.json")}, site_->Path("."));
  EXPECT_EQ(run.status, 2) << run.out;
  EXPECT_NE(run.err.find("hat nicht schemaVersion 2"), std::string::npos) << run.err;
  const testing::RunResult missing =
      testing::RunQuenda({"--check-release", site_->Path("run/none.json")}, site_->Path("."));
  EXPECT_EQ(missing.status, 2) << missing.out;
}

TEST_F(CheckReleaseE2e, OtherOptionsAreRefused) {
  const testing::RunResult run = Check({"--headless"});
  EXPECT_EQ(run.status, 2) << run.out;
  EXPECT_NE(run.err.find("--check-release BERICHT nimmt"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace quenda
