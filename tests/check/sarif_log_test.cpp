#include "check/sarif_log.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include "text/cp1252.h"

namespace quenda {
namespace {

TEST(FileUri, EncodesWhatAUriPathCannotHold) {
  const std::pair<std::string, std::string> cases[] = {
      {"/tmp/Data/Config_012.csv", "file:///tmp/Data/Config_012.csv"},
      {"/a b/x.csv", "file:///a%20b/x.csv"},
      {"/a%b/x#1?.csv", "file:///a%25b/x%231%3F.csv"},
      {"C:/T_lokal/f\xC3\xBCr.csv", "file:///C:/T_lokal/f%C3%BCr.csv"},
      {"//quenda-fs/tools/Data/x.csv", "file://quenda-fs/tools/Data/x.csv"},
      {"/a/x-y_z~(1)+@.csv", "file:///a/x-y_z~(1)+@.csv"},
  };
  for (const auto& [path, uri] : cases) EXPECT_EQ(FileUri(path), uri) << path;
}

TEST(SarifLog, OneResultPerFindingWithItsRuleLevelTextAndPlace) {
  TableReport report("T:\\Data\\Config_012.csv");
  report.Warning(FindingKind::kSlotGap, 2, "Slots bis 20 sind belegt, aber nicht: 12");
  report.Error(FindingKind::kEncoding, 1,
               "Pr\xFC"
               "fen");
  Findings findings;
  findings.Add(report);
  const auto log = nlohmann::json::parse(
      SarifLog(findings, "1.00", [](const std::string& path) { return "file:///" + path; }));
  const auto& driver = log["runs"][0]["tool"]["driver"];
  EXPECT_EQ(driver["version"], "1.00");
  EXPECT_EQ(driver["rules"].size(), FindingRules().size());
  const auto& results = log["runs"][0]["results"];
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[0]["ruleId"], "QC102") << "sorted by line";
  EXPECT_EQ(results[0]["level"], "error");
  EXPECT_EQ(results[0]["message"]["text"], "Prüfen") << "UTF-8 in the log";
  EXPECT_EQ(results[1]["ruleId"], FindingRuleOf(FindingKind::kSlotGap).id);
  EXPECT_EQ(results[1]["level"], "warning");
  const auto& place = results[1]["locations"][0]["physicalLocation"];
  EXPECT_EQ(place["artifactLocation"]["uri"], "file:///T:\\Data\\Config_012.csv");
  EXPECT_EQ(place["region"]["startLine"], 2);
}

TEST(SarifLog, RuleIdsAreStableAndUnique) {
  EXPECT_STREQ(FindingRuleOf(FindingKind::kTableUnreadable).id, "QC101");
  EXPECT_STREQ(FindingRuleOf(FindingKind::kShiftedColumn).id, "QC406");
  std::set<std::string> ids;
  for (const FindingRule& rule : FindingRules()) {
    EXPECT_TRUE(ids.insert(rule.id).second) << rule.id;
  }
}

}  // namespace
}  // namespace quenda
