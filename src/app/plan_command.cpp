#include "app/plan_command.h"

#include <algorithm>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <regex>

#include "app/headless.h"
#include "app/options.h"
#include "app/program.h"
#include "app/run_report.h"
#include "base/error.h"
#include "conservation/conservation_values.h"
#include "platform/atomic_file.h"
#include "platform/file_overlay.h"
#include "platform/native_path.h"
#include "platform/sha256.h"
#include "platform/utc_time.h"
#include "session/session.h"
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

bool IsConservationFile(const std::string& path) {
  return path.size() > 4 && UpperCase(path.substr(path.size() - 4)) == ".KON";
}

Json Text(const std::optional<std::string>& cp1252) {
  return cp1252 ? Json(Cp1252ToUtf8(*cp1252)) : Json();
}

Json ValueChanges(const std::string& before, const std::string& after) {
  Json list = Json::array();
  for (const ValueChange& c :
       CompareConservationValues(ReadConservationValues(before), ReadConservationValues(after))) {
    list.push_back({{"label", Cp1252ToUtf8(c.label)},
                    {"kind", c.kind},
                    {"before", Text(c.before)},
                    {"after", Text(c.after)}});
  }
  return list;
}

// For each conservation file the run replaces, the labels whose values it changes.
Json Values(const std::vector<PlannedFile>& changes) {
  Json values = Json::object();
  for (const PlannedFile& file : changes) {
    if (!IsConservationFile(file.path) || !file.before || !file.after) continue;
    values[Cp1252ToUtf8(file.path)] = ValueChanges(*file.before, *file.after);
  }
  return values;
}

// A file of a data version: "<prefix>_<version><suffix>.<ext>", e.g. MX21K47_02s.kon.
struct VersionedName {
  std::string prefix;
  std::string version;
  std::string suffix;
};

std::optional<VersionedName> VersionedNameOf(const std::string& path, const char* ext) {
  static const std::regex kName(R"(^(.*)_([0-9]+)([A-Za-z]?)\.([A-Za-z]+)$)");
  std::smatch m;
  if (!std::regex_match(path, m, kName) || UpperCase(m[4].str()) != UpperCase(ext)) {
    return std::nullopt;
  }
  return VersionedName{m[1].str(), m[2].str(), m[3].str()};
}

// The highest data version below `planned` whose DAB file "<prefix>_<version>.dab" is on the
// disk, with the same number of digits; none when there is none.
std::optional<std::string> PreviousVersion(const Files& disk, const VersionedName& planned) {
  for (int v = std::stoi(planned.version) - 1; v >= 0; --v) {
    std::string version = std::to_string(v);
    if (version.size() < planned.version.size()) {
      version.insert(0, planned.version.size() - version.size(), '0');
    }
    if (disk.FileExists(planned.prefix + "_" + version + ".dab")) return version;
  }
  return std::nullopt;
}

// The planned conservation files and data-version DAB file compared with those of the
// previous data version in the same folder (see PlanJson); null when there is none.
Json Previous(const Files& disk, const std::vector<PlannedFile>& changes) {
  std::optional<VersionedName> planned;
  for (const PlannedFile& file : changes) {
    if (!planned && file.after) planned = VersionedNameOf(file.path, "kon");
  }
  if (!planned) return nullptr;
  const std::optional<std::string> version = PreviousVersion(disk, *planned);
  if (!version) return nullptr;
  Json files = Json::array();
  Json values = Json::array();
  Json added = Json::array();
  Json removed = Json::array();
  for (const PlannedFile& file : changes) {
    const std::optional<VersionedName> name = VersionedNameOf(file.path, "kon");
    const bool dab = VersionedNameOf(file.path, "dab").has_value() &&
                     file.path == planned->prefix + "_" + planned->version + ".dab";
    if (!file.after ||
        (!dab && (!name || name->prefix != planned->prefix || name->version != planned->version))) {
      continue;
    }
    const std::string previous =
        planned->prefix + "_" + *version + (dab ? std::string(".dab") : name->suffix + ".kon");
    if (!disk.FileExists(previous)) continue;
    const std::string before = disk.ReadAll(previous);
    files.push_back({{"path", Cp1252ToUtf8(file.path)}, {"previous", Cp1252ToUtf8(previous)}});
    if (dab) {
      files.back()["lines"] =
          Utf8Lines(UnifiedDiff(SplitTextLines(before), SplitTextLines(*file.after)));
      continue;
    }
    for (Json change : ValueChanges(before, *file.after)) {
      change["file"] = Cp1252ToUtf8(file.path);
      if (change["before"].is_null()) {
        added.push_back(change);
      } else if (change["after"].is_null()) {
        removed.push_back(change);
      } else {
        values.push_back(change);
      }
    }
  }
  return {{"version", *version},
          {"files", files},
          {"values", values},
          {"added", added},
          {"removed", removed}};
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

// "LABEL: >before< → >after<", a missing side told as "(neu)" or "(entfällt)".
std::string ValueLine(const Json& value) {
  const auto side = [](const Json& v, const char* none) {
    return v.is_null() ? std::string(none) : ">" + v.get<std::string>() + "<";
  };
  return value["label"].get<std::string>() + ": " + side(value["before"], "(neu)") + " → " +
         side(value["after"], "(entfällt)");
}

std::string PreviousText(const Json& previous) {
  if (previous.is_null()) return "Kein früherer Datenstand im Kundenordner.\n";
  std::string text = "Vergleich mit Datenstand " + previous["version"].get<std::string>() + ":\n";
  for (const Json& file : previous["files"]) {
    text += "  " + file["path"].get<std::string>() + " gegen " +
            file["previous"].get<std::string>() + "\n";
    for (const char* part : {"values", "added", "removed"}) {
      for (const Json& value : previous[part]) {
        if (value["file"] == file["path"]) text += "        " + ValueLine(value) + "\n";
      }
    }
    if (!file.contains("lines")) continue;
    for (const Json& line : file["lines"]) text += "        " + line.get<std::string>() + "\n";
  }
  return text;
}

}  // namespace

std::string PlanJson(const Session& s, const FileOverlay& overlay, int exitStatus,
                     const std::string& createdAt) {
  const std::vector<PlannedFile> planned = overlay.Changes();
  const Json report = Json::parse(RunReportJson(s, exitStatus));
  Json folders = Json::array();
  for (const std::string& folder : overlay.Folders()) folders.push_back(Cp1252ToUtf8(folder));
  Json changes = Json::array();
  for (const PlannedFile& file : planned) changes.push_back(Change(file));
  // What is on the disk, not what the run planned: the files of earlier data versions.
  const Files disk(s.files.Map());
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
                     {"changes", changes},
                     {"values", Values(planned)},
                     {"previous", Previous(disk, planned)}};
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
    const std::string& path = change["path"].get_ref<const std::string&>();
    if (plan["values"].contains(path)) {
      for (const Json& value : plan["values"][path]) text += "        " + ValueLine(value) + "\n";
    } else if (change.contains("lines") && action != "create") {
      for (const Json& line : change["lines"]) {
        text += "        " + std::string(action == "append" ? "+" : "") + line.get<std::string>() +
                "\n";
      }
    }
  }
  text += PreviousText(plan["previous"]);
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
  const std::unique_ptr<Session> session = MakeHeadlessSession(options, ui, system);
  if (!session) return kExitBadOption;
  session->record.Want();  // the plan tells every file by its fingerprint
  FileOverlay overlay;
  session->files.PlanIn(&overlay);
  const int exitStatus = RunWatchedSession(*session);
  const std::string json = PlanJson(*session, overlay, exitStatus, UtcNowText());
  if (!WritePlanFile(options.planFile, json, err)) return kExitBadOption;
  std::fputs(PlanText(json).c_str(), out);
  std::fflush(out);
  return FinishRequestedRecords(*session, options, exitStatus, err, false);
}

}  // namespace quenda
