#include "app/verify_command.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "app/options.h"
#include "app/program.h"
#include "app/run_report.h"
#include "base/error.h"
#include "platform/drive_map.h"
#include "platform/native_path.h"
#include "platform/sha256.h"
#include "text/cp1252.h"
#include "text/line_text.h"

namespace quenda {
namespace {

using Json = nlohmann::json;

// One file the report names (UTF-8 texts as the report holds them).
struct Entry {
  std::string path;
  std::string role;    // empty for an output
  std::string sha256;  // empty when the report has none
};

enum class State { kOk, kChanged, kMissing };

struct Counts {
  int ok = 0;
  int changed = 0;
  int missing = 0;
  int expected = 0;  // changes the run made itself
};

std::optional<std::string> Text(const Json& object, const char* key) {
  const auto it = object.find(key);
  if (it == object.end() || !it->is_string()) return std::nullopt;
  return it->get<std::string>();
}

// The entries of the list `key`; nullopt when the list or an entry is malformed.
std::optional<std::vector<Entry>> Entries(const Json& report, const char* key, bool withRole) {
  const auto list = report.find(key);
  if (list == report.end() || !list->is_array()) return std::nullopt;
  std::vector<Entry> entries;
  for (const Json& item : *list) {
    if (!item.is_object()) return std::nullopt;
    const std::optional<std::string> path = Text(item, "path");
    const std::optional<std::string> role = Text(item, "role");
    const auto sha = item.find("sha256");
    if (!path || (withRole && !role) || sha == item.end() ||
        !(sha->is_string() || sha->is_null())) {
      return std::nullopt;
    }
    entries.push_back({*path, role.value_or(""), sha->is_string() ? sha->get<std::string>() : ""});
  }
  return entries;
}

class Checker {
 public:
  Checker(DriveMap map, std::filesystem::path currentDir)
      : map_(std::move(map)), currentDir_(std::move(currentDir)) {}

  State Check(const Entry& entry) const {
    const std::string text = Utf8ToCp1252(entry.path);
    if (!map_.CanResolve(text)) return State::kMissing;
    std::filesystem::path native = map_.Resolve(text);
    if (native.is_relative()) native = currentDir_ / native;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(native, ec)) return State::kMissing;
    const std::optional<FileDigest> digest = DigestFile(native);
    return digest && !entry.sha256.empty() && digest->sha256 == entry.sha256 ? State::kOk
                                                                             : State::kChanged;
  }

 private:
  DriveMap map_;
  std::filesystem::path currentDir_;
};

const char* Word(State state) {
  switch (state) {
    case State::kOk:
      return "ok";
    case State::kChanged:
      return "geändert";
    case State::kMissing:
      return "fehlt";
  }
  return "fehlt";
}

void Count(Counts& counts, State state, bool expected) {
  if (state == State::kOk) ++counts.ok;
  if (state == State::kChanged) ++counts.changed;
  if (state == State::kMissing) ++counts.missing;
  if (state != State::kOk && expected) ++counts.expected;
}

std::filesystem::path NativeOf(const std::string& utf8) { return NativePath(Utf8ToCp1252(utf8)); }

// A text of the report as printed: a control character (a line break, ESC) shown by its
// code in braces, so that a report cannot forge lines or steer the terminal.
std::string Shown(const std::string& utf8) { return Cp1252ToUtf8(ShowCodes(Utf8ToCp1252(utf8))); }

// Reads the report at `nativePath` into `report`; the reason it cannot be judged (UTF-8, it
// follows "Bericht PATH "), empty for a JSON object of schema 2.
std::string ReadReport(const std::string& nativePath, std::uintmax_t limit, Json& report) {
  std::string text;
  try {
    text = ReadNativeInput(nativePath, limit);
  } catch (const Error& e) {
    return "kann nicht gelesen werden: " + Cp1252ToUtf8(e.Description());
  }
  report = Json::parse(text, nullptr, false);
  if (!report.is_object()) return "ist kein JSON-Objekt";
  if (report.value("schemaVersion", Json()) != Json(kRunReportSchema)) {
    return "hat nicht schemaVersion 2";
  }
  return {};
}

}  // namespace

int RunVerify(const Options& options, System& system, std::FILE* out, std::FILE* err,
              std::uintmax_t reportLimit) {
  Json report;
  const std::string unusable = ReadReport(options.verifyReport, reportLimit, report);
  const auto fail = [&](const std::string& why) {
    std::fprintf(err, "Quenda: Bericht %s %s\n", options.verifyReport.c_str(), why.c_str());
    return kExitBadOption;
  };
  if (!unusable.empty()) return fail(unusable);
  const Json run = report.value("run", Json::object());
  const std::optional<std::vector<Entry>> outputs = Entries(report, "files", false);
  const std::optional<std::vector<Entry>> inputs = Entries(report, "inputs", true);
  if (!run.is_object() || !outputs || !inputs) return fail("ist unvollständig oder beschädigt");

  const std::filesystem::path currentDir = NativeOf(Text(run, "currentDir").value_or("."));
  Options program = options;
  program.programDir = ReportProgramDir(
      options.programDir, NativeOf(Text(run, "programDir").value_or(".")), currentDir);
  std::optional<Checker> checker;
  try {
    checker.emplace(PrepareProgram(program, system).site.Drives, currentDir);
  } catch (const Error& e) {  // Config.ini is no regular file
    std::fprintf(err, "Quenda: %s\n", Cp1252ToUtf8(e.Description()).c_str());
    return kExitBadOption;
  }
  Counts counts;
  for (const Entry& entry : *outputs) {
    const State state = checker->Check(entry);
    Count(counts, state, false);
    std::fprintf(out, "%s: %s\n", Word(state), Shown(entry.path).c_str());
  }
  for (const Entry& entry : options.verifyInputs ? *inputs : std::vector<Entry>()) {
    const State state = checker->Check(entry);
    const bool written = std::any_of(outputs->begin(), outputs->end(),
                                     [&](const Entry& o) { return o.path == entry.path; });
    Count(counts, state, written);
    std::fprintf(out, "%s: %s (Eingabe %s%s)\n", Word(state), Shown(entry.path).c_str(),
                 Shown(entry.role).c_str(),
                 written && state != State::kOk
                     ? "; erwartet, der Lauf hat in diese Datei geschrieben"
                     : "");
  }
  std::fprintf(out, "%d ok, %d geändert, %d fehlt", counts.ok, counts.changed, counts.missing);
  if (counts.expected > 0) std::fprintf(out, " (davon %d erwartet)", counts.expected);
  std::fputs("\n", out);
  const bool unchanged = counts.changed + counts.missing == counts.expected;
  return unchanged ? kExitSuccess : kExitAborted;
}

}  // namespace quenda
