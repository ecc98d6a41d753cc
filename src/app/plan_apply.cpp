#include "app/plan_apply.h"

#include <deque>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>

#include "app/headless.h"
#include "app/options.h"
#include "app/program.h"
#include "app/run_report.h"
#include "base/error.h"
#include "platform/sha256.h"
#include "session/session.h"
#include "text/cp1252.h"
#include "ui/headless_ui.h"

namespace quenda {
namespace {

using Json = nlohmann::ordered_json;

// The Ui of an applied plan: each dialog takes the answer of the first dialog of the plan
// not yet taken with the same kind, title and text. A box with OK alone needs none; any other
// dialog the plan does not hold is unanswered.
class PlanUi : public HeadlessUi {
 public:
  PlanUi(const Json& dialogs, std::FILE* out, std::FILE* err) : HeadlessUi({}, out, err) {
    for (const Json& d : dialogs) {
      planned_.push_back({d.value("kind", ""),
                          Utf8ToCp1252(d.value("title", "")),
                          Utf8ToCp1252(d.value("text", "")),
                          d["answer"].is_string()
                              ? std::optional(Utf8ToCp1252(d["answer"].get<std::string>()))
                              : std::nullopt,
                          {}});
    }
  }

 protected:
  Answer ShowMessage(const std::string& text, const MessageStyle& style,
                     const std::string& title) override {
    const std::optional<std::string> answer = Take("message", title, text, !style.OkOnly());
    if (style.OkOnly()) return Answer::kOk;
    for (Answer button : style.Buttons()) {
      if (answer && *answer == AnswerName(button)) return button;
    }
    throw Unanswered("Der Plan hat für den Dialog \"" + title +
                     "\" keine passende Antwort: " + answer.value_or(""));
  }
  std::string ShowInput(const std::string& prompt, const std::string& title,
                        const std::string&) override {
    return Take("input", title, prompt, true).value_or("");
  }
  std::optional<std::string> ShowOpenFile(const FileDialogRequest& request) override {
    return Take("file", request.title, request.initialDir, false);
  }

 private:
  std::optional<std::string> Take(const std::string& kind, const std::string& title,
                                  const std::string& text, bool required) {
    for (auto it = planned_.begin(); it != planned_.end(); ++it) {
      if (it->kind != kind || it->title != title || it->text != text) continue;
      std::optional<std::string> answer = it->answer;
      planned_.erase(it);
      return answer;
    }
    if (!required && kind != "file") return std::nullopt;
    throw Unanswered("Der Plan enthält den Dialog \"" + title + "\" nicht: " + text);
  }

  std::deque<DialogRecord> planned_;
};

// The fingerprint of the file `path` (UTF-8, as the plan names it) now; none when it is
// missing, unreadable or its path cannot be resolved.
std::optional<FileDigest> DigestNow(const Files& files, const std::string& path) {
  const std::string cp = Utf8ToCp1252(path);
  if (!files.Map().CanResolve(cp) || !files.FileExists(cp)) return std::nullopt;
  return DigestFile(files.Native(cp));
}

bool SameAs(const std::optional<FileDigest>& now, const Json& digest) {
  if (digest.is_null()) return !now;
  return now && now->bytes == digest["bytes"].get<std::uintmax_t>() &&
         now->sha256 == digest["sha256"].get<std::string>();
}

struct ReadPlanFile {
  Json plan;
  std::string sha256;  // of the file's bytes
};

std::optional<ReadPlanFile> ReadPlan(const Options& options, std::FILE* err) {
  try {
    const std::string bytes = ReadNativeInput(options.applyPlan, kMaxReportBytes);
    Json plan = Json::parse(bytes);
    if (plan.value("schemaVersion", 0) == 1 && plan.value("kind", "") == "plan") {
      return ReadPlanFile{std::move(plan), Sha256Hex(bytes)};
    }
    std::fprintf(err, "Quenda: %s ist kein Plan der schemaVersion 1\n", options.applyPlan.c_str());
  } catch (const Error& e) {
    std::fprintf(err, "Quenda: Der Plan %s kann nicht gelesen werden: %s\n",
                 options.applyPlan.c_str(), Cp1252ToUtf8(e.Description()).c_str());
  } catch (const Json::exception& e) {
    std::fprintf(err, "Quenda: Der Plan %s ist kein gültiges JSON: %s\n", options.applyPlan.c_str(),
                 e.what());
  }
  return std::nullopt;
}

// The first file of the plan whose bytes are no longer what the plan found, resolved
// through `files`: an input whose SHA-256 differs or that is gone, a change's target whose
// SHA-256 differs from its `before`, or that exists where the plan would create it. The
// file's path as the plan names it (UTF-8); none when all are as they were.
std::optional<std::string> StalePlanFile(const Files& files, const Json& plan) {
  for (const Json& input : plan["inputs"]) {
    if (input["sha256"].is_null()) continue;  // unreadable when planned: nothing to compare
    const std::string path = input["path"];
    if (!SameAs(DigestNow(files, path), input)) return path;
  }
  for (const Json& change : plan["changes"]) {
    const std::string path = change["path"];
    if (!SameAs(DigestNow(files, path), change["before"])) return path;
  }
  return std::nullopt;
}

// Every file of the plan's changes with the SHA-256 its `after` says and the one the run
// left: as `written` fingerprinted it when the run wrote it, else as it is now (empty when
// there is none).
std::vector<PlannedOutcome> PlannedOutcomes(const Files& files, const FileRecord& written,
                                            const Json& plan) {
  std::map<std::string, std::string> asWritten;  // by the path as the plan names it
  for (const WrittenFile& file : written.Written()) {
    if (file.digest) asWritten[Cp1252ToUtf8(file.path)] = file.digest->sha256;
  }
  std::vector<PlannedOutcome> outcomes;
  for (const Json& change : plan["changes"]) {
    PlannedOutcome outcome{change["path"], {}, {}};
    if (change["after"].is_object()) outcome.planned = change["after"]["sha256"];
    if (const auto it = asWritten.find(outcome.path); it != asWritten.end()) {
      outcome.written = it->second;
    } else if (const std::optional<FileDigest> now = DigestNow(files, outcome.path)) {
      outcome.written = now->sha256;  // not written by the run, or written unfingerprinted
    }
    outcomes.push_back(std::move(outcome));
  }
  return outcomes;
}

}  // namespace

int RunApply(const Options& options, System& system, std::FILE* out, std::FILE* err) {
  std::optional<ReadPlanFile> read = ReadPlan(options, err);
  if (!read) return kExitBadOption;
  const Json& plan = read->plan;
  Options run = options;
  run.programDir = plan.value("programDir", "");
  PlanUi ui(plan["dialogs"], out, err);
  const std::unique_ptr<Session> session = MakeHeadlessSession(run, ui, system);
  if (!session) return kExitBadOption;
  session->env.CommandLineText = Utf8ToCp1252(plan.value("commandLine", ""));
  if (const std::optional<std::string> stale = StalePlanFile(session->files, plan)) {
    std::fprintf(err, "Der Plan ist veraltet: %s hat sich seit dem Plan geändert (Plan vom %s)\n",
                 stale->c_str(), plan.value("createdAt", "").c_str());
    return kExitPlanStale;
  }
  session->record.Want();
  int exitStatus = RunWatchedSession(*session);
  AppliedPlan& applied = session->record.plan.emplace();
  applied.file = options.applyPlan;
  applied.createdAt = plan.value("createdAt", "");
  applied.sha256 = read->sha256;
  applied.outcomes = PlannedOutcomes(session->files, session->record.files, plan);
  for (const PlannedOutcome& file : applied.outcomes) {
    if (file.AsPlanned()) continue;
    std::fprintf(err, "Quenda: Nicht wie geplant geschrieben: %s: SHA-256 %s statt %s\n",
                 file.path.c_str(), file.written.empty() ? "keiner Datei" : file.written.c_str(),
                 file.planned.empty() ? "keiner Datei" : file.planned.c_str());
    if (exitStatus == kExitSuccess) exitStatus = kExitAborted;
  }
  return FinishRequestedRecords(*session, run, exitStatus, err, true);
}

}  // namespace quenda
