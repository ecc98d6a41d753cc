#include "app/run_report.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <system_error>

#include "app/run_summary.h"
#include "base/error.h"
#include "platform/files.h"
#include "platform/native_path.h"
#include "session/session.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

using Json = nlohmann::ordered_json;

std::string U(const std::string& cp1252) { return Cp1252ToUtf8(cp1252); }

Json Configuration(const Session& s) {
  return {{"customer", U(s.state.AktKunde)},
          {"controlUnit", U(s.state.AktSg)},
          {"configuration", U(s.job.CfgConfiguration)},
          {"ba", U(s.state.AktBa)},
          {"customerGroup", U(s.job.RunKundenGruppe)},
          {"toolVersion", U(s.job.CfgToolVersion)},
          {"kolpatoren", U(s.job.CfgKolpatoren)},
          {"testMode", s.job.RunMode == "T"}};
}

Json Parameters(const RunSummary& summary) {
  Json list = Json::array();
  for (const ParameterSummary& p : summary.parameters) {
    list.push_back({{"name", U(p.name)}, {"rule", U(p.rule)}, {"value", U(p.value)}});
  }
  return list;
}

Json Slots(const RunSummary& summary) {
  Json list = Json::array();
  for (const SlotSummary& s : summary.specSlots) {
    list.push_back({{"slot", s.slot},
                    {"label", U(s.label)},
                    {"kind", U(s.kind)},
                    {"format", U(s.format)},
                    {"length", U(s.length)},
                    {"dummy", U(s.dummy)},
                    {"value", U(s.value)}});
  }
  return list;
}

Json WrittenFiles(const Session& s) {
  Json list = Json::array();
  for (const std::string& path : s.files.Written()) {
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(s.files.Native(path), ec);
    if (ec) continue;  // moved away or removed by another program
    list.push_back({{"path", U(path)}, {"bytes", bytes}});
  }
  return list;
}

}  // namespace

std::string RunReportJson(const Session& s, int exitStatus) {
  const RunSummary summary = BuildRunSummary(s);
  const std::string& message =
      s.state.FinalMessage.empty() ? s.log.LastLine() : s.state.FinalMessage;
  const Json report = {{"exitStatus", exitStatus},          {"message", U(message)},
                       {"job", U(s.job.JobFilePath)},       {"configuration", Configuration(s)},
                       {"parameters", Parameters(summary)}, {"slots", Slots(summary)},
                       {"files", WrittenFiles(s)}};
  return report.dump(2) + "\n";
}

bool WriteRunReport(const Session& s, int exitStatus, const std::string& nativePath) {
  const std::filesystem::path target = std::filesystem::path(nativePath);
  const std::string text = RunReportJson(s, exitStatus);
  try {
    // A Files of its own: the report is no file of the run and no write point of it.
    const Files files;
    AtomicFile file(files, TextFromNative(nativePath), target);
    file.Write(text);
    file.Commit();
    return true;
  } catch (const Error&) {
    return false;
  }
}

}  // namespace quenda
