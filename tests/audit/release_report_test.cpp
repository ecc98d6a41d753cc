#include "audit/release_report.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "audit/conservation_audit.h"
#include "text/cp1252.h"

namespace quenda::audit {
namespace {

nlohmann::json Minimal() {
  return nlohmann::json::parse(R"({
    "schemaVersion": 2,
    "run": {"programDir": "p", "currentDir": "c", "commandLine": "x,\"a|b|0\""},
    "reason": "success", "exitStatus": 0, "job": "T:\\J\\Job.xml",
    "configuration": {"customerGroup": "003", "toolVersion": "046", "ba": "001",
                      "kolpatoren": "001", "testMode": false},
    "inputs": [{"path": "T:\\d\\P_01.dab", "role": "dab"}],
    "parameters": [{"name": "Werk", "rule": "none", "value": "Gröbming", "table": "T:\\t.csv",
                    "line": 2}],
    "slots": [{"slot": 1, "label": "KT_A", "kind": "KTX", "format": "", "length": "4",
               "dummy": "-", "value": "ab  "}],
    "files": [{"path": "T:\\K\\P_02s.kon"}]})");
}

TEST(ParseReleaseReport, ReadsTheFieldsAsCp1252) {
  std::string why;
  const auto report = ParseReleaseReport(Minimal().dump(), why);
  ASSERT_TRUE(report) << why;
  EXPECT_EQ(report->Parameter("Werk"), Utf8ToCp1252("Gröbming"));
  EXPECT_EQ(report->Parameter("Fehlt"), std::nullopt);
  ASSERT_NE(report->SlotOf("KT_A"), nullptr);
  EXPECT_EQ(report->SlotOf("KT_A")->value, "ab  ");
  EXPECT_EQ(report->InputOf("dab")->path, "T:\\d\\P_01.dab");
  EXPECT_EQ(report->exitStatus, 0);
}

TEST(ParseReleaseReport, RefusedWithTheReason) {
  const auto without = [](const char* list, const char* key) {
    nlohmann::json j = Minimal();
    j[list][0].erase(key);
    return j.dump();
  };
  nlohmann::json schema1 = Minimal();
  schema1["schemaVersion"] = 1;
  const std::pair<std::string, std::string> cases[] = {
      {"[1]", "ist kein JSON-Objekt"},
      {"{", "ist kein JSON-Objekt"},
      {schema1.dump(), "hat nicht schemaVersion 2"},
      {without("slots", "label"), "hat kein gültiges Feld slots.label"},
      {without("parameters", "line"), "hat kein gültiges Feld parameters.line"},
      {without("files", "path"), "hat kein gültiges Feld files.path"},
  };
  for (const auto& [json, reason] : cases) {
    std::string why;
    EXPECT_FALSE(ParseReleaseReport(json, why)) << json;
    EXPECT_EQ(why, reason) << json;
  }
}

std::string Text(const std::string& label, const std::string& comment, const std::string& value) {
  return "\r\n* Konserve für "_cp + label + " mit Wert >" + comment + "<\r\n\r\nTEXTSTRING " +
         label + "\r\n TEXT    '" + value + "'\r\nEND\r\n\r\n";
}

TEST(AuditConservationFile, FindingsOfAVariantFile) {
  std::string why;
  const ReleaseReport report = *ParseReleaseReport(Minimal().dump(), why);
  const ExpectedConservation one{"", {{"KT_A", "o.h "}}};
  const struct {
    std::string bytes;
    ExpectedConservation expected;
    std::vector<std::string> rules;  // the rules of the findings, in order
  } cases[] = {
      {Text("KT_A", "o.h ", "o.h "), one, {}},
      {"", ExpectedConservation{}, {}},
      {"x", ExpectedConservation{}, {"QR-KON-BLOCK"}},
      {Text("KT_A", "o.h ", "o.hx"), one, {"QR-KON-COMMENT"}},
      {Text("KT_A", "o.hex", "o.hex"), one, {"QR-KON-LENGTH", "QR-KON-VALUE"}},
      {Text("KT_A", "o.h", "o.h"), one, {"QR-KON-VALUE"}},
      {Text("KT_B", "o.h ", "o.h "), one, {"QR-KON-BLOCK", "QR-KON-SLOTS", "QR-KON-SLOTS"}},
      {"", one, {"QR-KON-SLOTS"}},
  };
  for (const auto& c : cases) {
    AuditLog log;
    AuditConservationFile(report, "T:\\K\\P_02o.kon", c.bytes, "", c.expected, log);
    std::vector<std::string> rules;
    for (const AuditEntry& e : log.Entries()) {
      if (!e.ok) rules.push_back(e.rule);
    }
    EXPECT_EQ(rules, c.rules) << c.bytes;
  }
}

}  // namespace
}  // namespace quenda::audit
