#include "app/check_release_command.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "app/program.h"
#include "app/startup.h"
#include "audit/release_audit.h"
#include "base/error.h"
#include "check/sarif_log.h"
#include "platform/native_path.h"
#include "platform/system.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

using Json = nlohmann::ordered_json;

std::string UriOf(const std::string& path, const DriveMap& map,
                  const std::filesystem::path& currentDir) {
  try {
    std::filesystem::path native = map.Resolve(path);
    if (native.is_relative()) native = currentDir / native;
    return FileUri(Cp1252ToUtf8(PathText(native.generic_string())));
  } catch (const Error&) {
    return FileUri(Cp1252ToUtf8(path));
  }
}

std::string Sarif(const audit::AuditLog& log, const DriveMap& map,
                  const std::filesystem::path& currentDir) {
  Json rules = Json::array();
  std::map<std::string, int> index;
  for (const audit::AuditRule& rule : audit::AuditRules()) {
    index[rule.id] = static_cast<int>(rules.size());
    rules.push_back({{"id", rule.id}, {"shortDescription", {{"text", rule.description}}}});
  }
  Json results = Json::array();
  for (const audit::AuditEntry& e : log.Entries()) {
    if (e.ok) continue;
    const Json location = {
        {"physicalLocation", {{"artifactLocation", {{"uri", UriOf(e.file, map, currentDir)}}}}}};
    results.push_back({{"ruleId", e.rule},
                       {"ruleIndex", index[e.rule]},
                       {"level", "error"},
                       {"message", {{"text", Cp1252ToUtf8(e.file + ": " + e.text)}}},
                       {"locations", Json::array({location})}});
  }
  const Json driver = {{"name", "quenda"}, {"version", AppVersionText()}, {"rules", rules}};
  const Json sarif = {
      {"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
      {"version", "2.1.0"},
      {"runs", Json::array({{{"tool", {{"driver", driver}}}, {"results", results}}})}};
  return sarif.dump(2) + "\n";
}

// The report, or nullopt with the reason (UTF-8) in `why`.
std::optional<audit::ReleaseReport> ReadReport(const std::string& reportPath, std::string& why) {
  std::string text;
  try {
    text = ReadNativeInput(reportPath, kMaxReportBytes);
  } catch (const Error& e) {
    why = "kann nicht gelesen werden: " + Cp1252ToUtf8(e.Description());
    return std::nullopt;
  }
  return audit::ParseReleaseReport(text, why);
}

}  // namespace

int ReleaseCheckResult::ExitStatus() const {
  if (!readable) return kExitBadOption;
  return findings == 0 ? kExitSuccess : kExitAborted;
}

ReleaseCheckResult CheckRelease(const std::string& reportPath, const std::string& programDir,
                                std::ostream& out, CheckFormat format) {
  const std::unique_ptr<System> system = MakeNativeSystem();
  return CheckRelease(reportPath, programDir, *system, out, format);
}

ReleaseCheckResult CheckRelease(const std::string& reportPath, const std::string& programDir,
                                System& system, std::ostream& out, CheckFormat format) {
  ReleaseCheckResult result;
  std::string why;
  const std::optional<audit::ReleaseReport> report = ReadReport(reportPath, why);
  const std::filesystem::path currentDir = NativePath(report ? report->currentDir : ".");
  Options program;
  std::optional<DriveMap> map;
  if (report) {
    program.programDir = ReportProgramDir(
        programDir, NativePath(report->programDir.empty() ? "." : report->programDir), currentDir);
    try {
      ProgramSetup setup = PrepareProgram(program, system);
      map = setup.site.Drives;
      audit::AuditLog log;
      audit::AuditRelease(*report, TextFromNative(reportPath),
                          audit::MappedReleaseSource(*map, currentDir), setup.site.SeriesToolsRoot,
                          log);
      result = {log.OkCount(), log.FindingCount(), true};
      if (format == CheckFormat::kSarif) {
        out << Sarif(log, *map, currentDir);
        return result;
      }
      for (const audit::AuditEntry& e : log.Entries())
        out << Cp1252ToUtf8(audit::FormatAuditEntry(e)) << "\n";
      out << Cp1252ToUtf8(audit::AuditSummary(log)) << "\n";
      return result;
    } catch (const Error& e) {  // Config.ini is no regular file
      why = Cp1252ToUtf8(e.Description());
    }
  }
  out << "Fehler: Bericht " << reportPath << " " << why << "\n";
  return result;
}

int RunCheckRelease(const Options& options, System& system, std::FILE* out, std::FILE* err) {
  std::ostringstream text;
  const ReleaseCheckResult result = CheckRelease(options.checkReleaseReport, options.programDir,
                                                 system, text, options.checkFormat);
  std::fputs(text.str().c_str(), result.readable ? out : err);
  return result.ExitStatus();
}

}  // namespace quenda
