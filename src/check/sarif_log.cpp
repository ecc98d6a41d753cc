#include "check/sarif_log.h"

#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>

#include "text/cp1252.h"

namespace quenda {
namespace {

using Json = nlohmann::ordered_json;

Json RuleJson(const FindingRule& rule) {
  return {{"id", rule.id}, {"name", rule.name}, {"shortDescription", {{"text", rule.description}}}};
}

Json ResultJson(const Finding& f, const TableUri& uriOf) {
  const FindingRule& rule = FindingRuleOf(f.kind);
  Json location = {
      {"physicalLocation",
       {{"artifactLocation", {{"uri", uriOf(f.file)}}}, {"region", {{"startLine", f.line}}}}}};
  return {{"ruleId", rule.id},
          {"ruleIndex", static_cast<int>(f.kind)},
          {"level", f.level == FindingLevel::kError ? "error" : "warning"},
          {"message", {{"text", Cp1252ToUtf8(f.text)}}},
          {"locations", Json::array({location})}};
}

bool KeptInUri(unsigned char c) {
  const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  return alnum || (c != 0 && std::strchr("-._~/:@!$&'()*+,;=", c) != nullptr);
}

}  // namespace

std::string SarifLog(const Findings& findings, const std::string& version, const TableUri& uriOf) {
  Json rules = Json::array();
  for (const FindingRule& rule : FindingRules()) rules.push_back(RuleJson(rule));
  Json results = Json::array();
  for (const Finding& f : findings.All()) results.push_back(ResultJson(f, uriOf));
  const Json driver = {{"name", "quenda"}, {"version", version}, {"rules", rules}};
  const Json log = {
      {"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
      {"version", "2.1.0"},
      {"runs", Json::array({{{"tool", {{"driver", driver}}}, {"results", results}}})}};
  return log.dump(2) + "\n";
}

std::string FileUri(const std::string& genericPath) {
  std::string uri = genericPath.starts_with("//")  ? "file:"
                    : genericPath.starts_with("/") ? "file://"
                                                   : "file:///";
  for (char ch : genericPath) {
    const auto c = static_cast<unsigned char>(ch);
    if (KeptInUri(c)) {
      uri += ch;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      uri += escaped;
    }
  }
  return uri;
}

}  // namespace quenda
