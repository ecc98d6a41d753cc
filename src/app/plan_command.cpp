#include "app/plan_command.h"

#include <algorithm>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>

#include "app/headless.h"
#include "app/options.h"
#include "app/program.h"
#include "app/run_report.h"
#include "app/stop_gate.h"
#include "base/error.h"
#include "platform/atomic_file.h"
#include "platform/file_overlay.h"
#include "platform/native_path.h"
#include "platform/sha256.h"
#include "platform/utc_time.h"
#include "session/session.h"
#include "session/termination.h"
#include "text/cp1252.h"
#include "text/line_diff.h"
#include "ui/headless_ui.h"

namespace quenda {
namespace {

using Json = nlohmann::ordered_json;

const char* ActionName(PlannedAction action) {
  switch (action) {
    case PlannedAction::kCreate:
      return "create";
    case PlannedAction::kReplace:
      return "replace";
    case PlannedAction::kAppend:
      return "append";
    case PlannedAction::kUnchanged:
      return "unchanged";
    case PlannedAction::kRemove:
      return "remove";
  }
  return "replace";
}

Json Digest(const std::optional<std::string>& bytes) {
  if (!bytes) return nullptr;
  return {{"bytes", bytes->size()}, {"sha256", Sha256Hex(*bytes)}};
}

// Copies of the integration's and the project's files are told by their hashes alone.
bool IsCopy(const std::string& path) {
  std::string ext = path.substr(std::min(path.size(), path.find_last_of('.')));
  std::ranges::transform(ext, ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext == ".hex" || ext == ".dam" || ext == ".dbf" || ext == ".s19" || ext == ".dcm";
}

Json Utf8Lines(const std::vector<std::string>& lines) {
  Json list = Json::array();
  for (const std::string& line : lines) list.push_back(Cp1252ToUtf8(line));
  return list;
}

Json Change(const PlannedFile& file) {
  const PlannedAction action = file.Action();
  Json change = {{"path", Cp1252ToUtf8(file.path)},
                 {"action", ActionName(action)},
                 {"before", Digest(file.before)},
                 {"after", Digest(file.after)}};
  if (IsCopy(file.path) || action == PlannedAction::kUnchanged) return change;
  if (action == PlannedAction::kAppend) {
    change["lines"] = Utf8Lines(SplitTextLines(file.Appended()));
  } else {
    change["lines"] = Utf8Lines(UnifiedDiff(SplitTextLines(file.before.value_or("")),
                                            SplitTextLines(file.after.value_or(""))));
  }
  return change;
}

// The dialogs as the report has them, without the times they were shown at: a plan made
// twice of the same inputs is the same plan.
Json Dialogs(const Json& reportDialogs) {
  Json list = Json::array();
  for (Json dialog : reportDialogs) {
    dialog.erase("at");
    list.push_back(std::move(dialog));
  }
  return list;
}

bool WritePlanFile(const std::string& nativePath, const std::string& text, std::FILE* err) {
  try {
    const Files files;  // the plan is no file of the run
    AtomicFile file(files, TextFromNative(nativePath), NativePath(TextFromNative(nativePath)));
    file.Write(text);
    file.Commit();
    return true;
  } catch (const Error& e) {
    std::fprintf(err, "%s\n",
                 Cp1252ToUtf8("Quenda: Der Plan " + TextFromNative(nativePath) +
                              " wurde nicht geschrieben: " + e.Description())
                     .c_str());
    return false;
  }
}

}  // namespace

std::string PlanJson(const Session& s, const FileOverlay& overlay, int exitStatus,
                     const std::string& createdAt) {
  const Json report = Json::parse(RunReportJson(s, exitStatus));
  Json folders = Json::array();
  for (const std::string& folder : overlay.Folders()) folders.push_back(Cp1252ToUtf8(folder));
  Json changes = Json::array();
  for (const PlannedFile& file : overlay.Changes()) changes.push_back(Change(file));
  const Json plan = {{"schemaVersion", kPlanSchema},
                     {"kind", "plan"},
                     {"quenda", report["quenda"]},
                     {"createdAt", createdAt},
                     {"commandLine", report["run"]["commandLine"]},
                     {"programDir", report["run"]["programDir"]},
                     {"job", report["job"]},
                     {"configuration", report["configuration"]},
                     {"inputs", report["inputs"]},
                     {"dialogs", Dialogs(report["dialogs"])},
                     {"end", {{"reason", report["reason"]}, {"message", report["message"]}}},
                     {"folders", folders},
                     {"changes", changes}};
  return plan.dump(2) + "\n";
}

std::string PlanText(const std::string& planJson) {
  const Json plan = Json::parse(planJson);
  const std::pair<const char*, const char*> marks[] = {{"create", "+ neu         "},
                                                       {"replace", "~ ersetzt     "},
                                                       {"append", ">> angehängt  "},
                                                       {"unchanged", "= unverändert "},
                                                       {"remove", "- entfernt    "}};
  std::map<std::string, int> counts;
  std::string text = "Plan für " + plan["job"].get<std::string>() + ":\n";
  for (const Json& folder : plan["folders"]) {
    text += "  + Ordner      " + folder.get<std::string>() + "\n";
  }
  for (const Json& change : plan["changes"]) {
    const std::string action = change["action"];
    ++counts[action];
    for (const auto& [name, mark] : marks) {
      if (action == name)
        text += std::string("  ") + mark + change["path"].get<std::string>() + "\n";
    }
    if (!change.contains("lines")) continue;
    for (const Json& line : change["lines"]) {
      text +=
          "        " + std::string(action == "append" ? "+" : "") + line.get<std::string>() + "\n";
    }
  }
  const Json& end = plan["end"];
  text += end["reason"] == "success"
              ? "Der Lauf würde erfolgreich enden.\n"
              : "Der Lauf würde nicht erfolgreich enden (" + end["reason"].get<std::string>() +
                    "): " + end["message"].get<std::string>() + "\n";
  text += "Plan: " + std::to_string(counts["create"]) + " neu, " +
          std::to_string(counts["replace"]) + " ersetzt, " + std::to_string(counts["append"]) +
          " angehängt, " + std::to_string(counts["unchanged"]) + " unverändert";
  if (counts["remove"] > 0) text += ", " + std::to_string(counts["remove"]) + " entfernt";
  return text + "\n";
}

int RunPlan(const Options& options, System& system, std::FILE* out, std::FILE* err) {
  std::string answers;
  if (!ReadAnswers(options, answers)) return kExitBadOption;
  HeadlessUi ui(answers, err, err);
  std::unique_ptr<Session> session;
  try {
    session = MakeSession(options, ui, system);
  } catch (const Error& e) {
    PrintUnexpectedError(e);
    return kExitBadOption;
  }
  session->record.Want();  // the plan tells every file by its fingerprint
  FileOverlay overlay;
  session->files.PlanIn(&overlay);
  int exitStatus = kExitAborted;
  {
    const StopWatch stopWatch(*session);
    exitStatus = RunSession(*session);
  }
  const std::string json = PlanJson(*session, overlay, exitStatus, UtcNowText());
  if (!WritePlanFile(options.planFile, json, err)) return kExitBadOption;
  std::fputs(PlanText(json).c_str(), out);
  std::fflush(out);
  return FinishRequestedRecords(*session, options, exitStatus, err, false);
}

}  // namespace quenda
