#include "app/qualify_command.h"

#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "app/check_release_command.h"
#include "app/headless.h"
#include "app/options.h"
#include "app/program.h"
#include "app/run_report.h"
#include "app/startup.h"
#include "base/error.h"
#include "platform/atomic_file.h"
#include "platform/files.h"
#include "platform/native_path.h"
#include "platform/sha256.h"
#include "platform/system.h"
#include "platform/utc_time.h"
#include "session/session.h"
#include "text/cp1252.h"
#include "ui/headless_ui.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::uintmax_t kMaxKitFileBytes = std::uintmax_t{1} << 20;

// What a case expects of one file of its copy of the site after the run (paths relative to
// the case's folder, "/" between names).
struct Expectation {
  std::string file;
  enum Kind { kBytes, kText, kContains, kSameAs, kUnchanged, kAbsent } kind = kBytes;
  // kBytes: a file of the kit; kText: the bytes; kContains: bytes the file holds somewhere;
  // kSameAs: a file of the copy.
  std::string operand;
};

// A change to the copy of the site before the run; texts are bytes of CP1252.
struct Change {
  enum Kind { kEdit, kAppend, kWrite, kRemove } kind = kEdit;
  std::string file;
  std::string from;
  std::string to;  // kAppend, kWrite: the text
};

struct Case {
  std::string name;
  std::string title;
  std::string commandLine;  // CP1252
  std::string answers;      // the text of an answers file
  std::vector<Change> changes;
  int status = 0;
  std::vector<Expectation> expectations;
};

struct Kit {
  fs::path dir;
  std::string sha256;  // of cases.json
  std::vector<Case> cases;
};

struct FileResult {
  std::string file;
  std::uintmax_t bytes = 0;
  std::string sha256;  // empty: there is none
};

struct CaseResult {
  const Case* c = nullptr;
  int status = -1;
  std::vector<std::string> findings;  // German, UTF-8
  std::vector<FileResult> files;
  std::optional<ReleaseCheckResult> check;
  bool Passed() const { return findings.empty(); }
};

std::string ReadBytes(const fs::path& path) {
  return ReadNativeInput(path.string(), kMaxKitFileBytes);
}

std::string Cp(const Json& object, const char* key) {
  return Utf8ToCp1252(object.value(key, std::string()));
}

// A path of a case: relative, "/" between names, none of them empty, "." or ".." nor
// holding "\\" or ":".
std::string CasePath(const Json& item, const char* key) {
  const std::string path = item.at(key);
  std::size_t begin = 0;
  while (true) {
    const std::size_t end = std::min(path.find('/', begin), path.size());
    const std::string name = path.substr(begin, end - begin);
    if (name.empty() || name == "." || name == ".." ||
        name.find_first_of("\\:") != std::string::npos) {
      throw Json::other_error::create(502, std::string(key) + ": kein Pfad eines Falls: " + path,
                                      &item);
    }
    if (end == path.size()) return path;
    begin = end + 1;
  }
}

Change ChangeOf(const Json& item) {
  Change change;
  if (item.contains("edit")) {
    change = {Change::kEdit, CasePath(item, "edit"), Cp(item, "from"), Cp(item, "to")};
  } else if (item.contains("append")) {
    change = {Change::kAppend, CasePath(item, "append"), {}, Cp(item, "text")};
  } else if (item.contains("write")) {
    change = {Change::kWrite, CasePath(item, "write"), {}, Cp(item, "text")};
  } else {
    change = {Change::kRemove, CasePath(item, "remove"), {}, {}};
  }
  return change;
}

Expectation ExpectationOf(const Json& item) {
  Expectation e{CasePath(item, "file"), Expectation::kBytes, {}};
  if (item.contains("bytes")) {
    e.operand = CasePath(item, "bytes");
  } else if (item.contains("text")) {
    e = {e.file, Expectation::kText, Cp(item, "text")};
  } else if (item.contains("contains")) {
    e = {e.file, Expectation::kContains, Cp(item, "contains")};
  } else if (item.contains("sameAs")) {
    e = {e.file, Expectation::kSameAs, CasePath(item, "sameAs")};
  } else if (item.value("unchanged", false)) {
    e.kind = Expectation::kUnchanged;
  } else if (item.value("absent", false)) {
    e.kind = Expectation::kAbsent;
  } else {
    throw Json::other_error::create(
        501, "Erwartung ohne bytes, text, contains, sameAs, unchanged oder absent", &item);
  }
  return e;
}

std::string Lines(const Json& list) {
  std::string text;
  for (const Json& line : list) text += Utf8ToCp1252(line.get<std::string>()) + "\n";
  return text;
}

Kit LoadKit(const fs::path& dir) {
  Kit kit{dir, {}, {}};
  const std::string text = ReadBytes(dir / "cases.json");
  kit.sha256 = Sha256Hex(text);
  const Json cases = Json::parse(text).at("cases");
  const std::string siteCommandLine =
      SplitTextLines(ReadBytes(dir / "site" / "command-line.txt")).at(0);
  for (const Json& item : cases) {
    Case c;
    c.name = CasePath(item, "name");
    for (const Case& other : kit.cases) {
      if (c.name.find('/') != std::string::npos || other.name == c.name) {
        throw Json::other_error::create(502, "name: kein eigener Name eines Falls: " + c.name,
                                        &item);
      }
    }
    c.title = item.value("title", c.name);  // UTF-8
    c.commandLine = item.contains("commandLine") ? Cp(item, "commandLine") : siteCommandLine;
    c.answers = Lines(item.at("answers"));
    for (const Json& change : item.value("changes", Json::array())) {
      c.changes.push_back(ChangeOf(change));
    }
    c.status = item.value("status", 0);
    for (const Json& e : item.at("expect")) c.expectations.push_back(ExpectationOf(e));
    kit.cases.push_back(std::move(c));
  }
  return kit;
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenNativeFile(path, "wb"), &std::fclose);
  if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    throw Error(75, "Die Datei " + PathText(path) + " kann nicht geschrieben werden");
  }
}

// Copies the kit's site into the case's folder beside the folders its settings name, then
// makes the case's changes.
void PrepareCopy(const Kit& kit, const Case& c, const fs::path& dir) {
  fs::create_directories(dir);
  fs::copy(kit.dir / "site", dir / "site", fs::copy_options::recursive);
  for (const char* folder : {"tmp", "win", "home", "run"}) fs::create_directories(dir / folder);
  for (const Change& change : c.changes) {
    const fs::path file = dir / change.file;
    switch (change.kind) {
      case Change::kEdit: {
        std::string text = ReadBytes(file);
        const std::size_t at = text.find(change.from);
        if (at == std::string::npos) {
          throw Error(75, "Die Änderung des Falls "_cp + c.name + " findet >" + change.from +
                              "< nicht in " + change.file);
        }
        WriteBytes(file, text.replace(at, change.from.size(), change.to));
        break;
      }
      case Change::kAppend:
        WriteBytes(file, ReadBytes(file) + change.to);
        break;
      case Change::kWrite:
        fs::create_directories(file.parent_path());
        WriteBytes(file, change.to);
        break;
      case Change::kRemove:
        fs::remove_all(file);
        break;
    }
  }
}

std::optional<std::string> BytesIfThere(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  return ReadBytes(path);
}

// The process's working folder is `folder` while it lives.
class WorkingFolder {
 public:
  explicit WorkingFolder(const fs::path& folder) : before_(fs::current_path()) {
    fs::current_path(folder);
  }
  ~WorkingFolder() {
    std::error_code ec;
    fs::current_path(before_, ec);
  }
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;

 private:
  fs::path before_;
};

// Runs the case's job headless in its copy, from the copy's working folder, as a batch system
// calls the program there; the log lines go to run/ausgabe.txt. Returns the exit status.
int RunInCopy(const Case& c, const fs::path& dir, System& system) {
  Options options;
  options.headless = true;
  options.programDir = (dir / "site" / "program").string();
  options.reportFile = (dir / "run" / "report.json").string();
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(
      OpenNativeFile(dir / "run" / "ausgabe.txt", "wb"), &std::fclose);
  if (!out) {
    throw Error(
        75, "Die Datei " + PathText(dir / "run" / "ausgabe.txt") + " kann nicht angelegt werden");
  }
  const WorkingFolder working(dir / "run");
  HeadlessUi ui(c.answers, out.get(), out.get());
  const std::unique_ptr<Session> session = MakeHeadlessSession(options, ui, system);
  if (!session) return kExitBadOption;
  session->env.CommandLineText = c.commandLine;
  return FinishRequestedRecords(*session, options, RunWatchedSession(*session), out.get(), false);
}

void Expect(const Kit& kit, const fs::path& dir, const Expectation& e,
            const std::optional<std::string>& unchanged, CaseResult& result) {
  const std::optional<std::string> now = BytesIfThere(dir / e.file);
  if (now) result.files.push_back({e.file, now->size(), Sha256Hex(*now)});
  if (e.kind == Expectation::kAbsent) {
    if (now)
      result.findings.push_back(Utf8ToCp1252(e.file) + " wurde geschrieben, soll aber fehlen");
    return;
  }
  if (!now) {
    result.findings.push_back(Utf8ToCp1252(e.file) + " fehlt");
    return;
  }
  std::string expected;
  switch (e.kind) {
    case Expectation::kBytes:
      expected = ReadBytes(kit.dir / e.operand);
      break;
    case Expectation::kText:
      expected = e.operand;
      break;
    case Expectation::kContains:
      if (now->find(e.operand) == std::string::npos) {
        result.findings.push_back(Utf8ToCp1252(e.file) + " enthält nicht >"_cp + e.operand + "<");
      }
      return;
    case Expectation::kSameAs:
      expected = BytesIfThere(dir / e.operand).value_or("");
      break;
    case Expectation::kUnchanged:
      expected = unchanged.value_or("");
      break;
    case Expectation::kAbsent:
      break;
  }
  if (*now == expected) return;
  std::size_t at = 0;
  while (at < now->size() && at < expected.size() && (*now)[at] == expected[at]) ++at;
  result.findings.push_back(Utf8ToCp1252(e.file) + " weicht ab dem Byte " + std::to_string(at) +
                            " von der Erwartung ab (" + std::to_string(now->size()) + " statt " +
                            std::to_string(expected.size()) + " Bytes)");
}

CaseResult RunCase(const Kit& kit, const Case& c, const fs::path& work, System& system) {
  CaseResult result;
  result.c = &c;
  const fs::path dir = work / c.name;
  try {
    PrepareCopy(kit, c, dir);
    std::vector<std::optional<std::string>> unchanged;
    for (const Expectation& e : c.expectations) {
      unchanged.push_back(e.kind == Expectation::kUnchanged ? BytesIfThere(dir / e.file)
                                                            : std::nullopt);
    }
    result.status = RunInCopy(c, dir, system);
    if (result.status != c.status) {
      result.findings.push_back("Status " + std::to_string(result.status) + " statt " +
                                std::to_string(c.status));
    }
    for (std::size_t i = 0; i < c.expectations.size(); ++i) {
      Expect(kit, dir, c.expectations[i], unchanged[i], result);
    }
    if (c.status == kExitSuccess && result.status == kExitSuccess) {
      std::ostringstream lines;
      result.check =
          CheckRelease((dir / "run" / "report.json").string(), (dir / "site" / "program").string(),
                       system, lines, CheckFormat::kText);
      WriteBytes(dir / "run" / "check-release.txt", lines.str());
      if (result.check->ExitStatus() != kExitSuccess) {
        result.findings.push_back("Die Prüfung der Freigabe meldet "_cp +
                                  std::to_string(result.check->findings) +
                                  " Befunde (run/check-release.txt)");
      }
    }
  } catch (const Error& e) {
    result.findings.push_back(e.Description());
  } catch (const std::exception& e) {
    result.findings.push_back(std::string("Fehler: ") + e.what());
  }
  for (std::string& finding : result.findings) finding = Cp1252ToUtf8(finding);
  return result;
}

Json ReportJson(const Kit& kit, const std::vector<CaseResult>& results, System& system,
                const std::string& at, const fs::path& work) {
  Json cases = Json::array();
  int passed = 0;
  for (const CaseResult& r : results) {
    passed += r.Passed() ? 1 : 0;
    Json files = Json::array();
    for (const FileResult& f : r.files) {
      files.push_back({{"path", f.file}, {"bytes", f.bytes}, {"sha256", f.sha256}});
    }
    Json check = nullptr;
    if (r.check) check = {{"checks", r.check->checks}, {"findings", r.check->findings}};
    cases.push_back({{"name", r.c->name},
                     {"title", r.c->title},
                     {"result", r.Passed() ? "passed" : "failed"},
                     {"exitStatus", r.status},
                     {"expectedStatus", r.c->status},
                     {"findings", r.findings},
                     {"checkRelease", check},
                     {"files", files}});
  }
  return {{"schemaVersion", 1},
          {"kind", "qualification"},
          {"quenda", {{"version", AppVersionText()}, {"build", QUENDA_BUILD_TEXT}}},
          {"operatingSystem", OperatingSystemText()},
          {"computer", Cp1252ToUtf8(system.ComputerName())},
          {"user", Cp1252ToUtf8(system.LogonUserName())},
          {"createdAt", at},
          {"kit", {{"folder", Cp1252ToUtf8(PathText(kit.dir))}, {"casesSha256", kit.sha256}}},
          {"workFolder", Cp1252ToUtf8(PathText(work))},
          {"passed", passed},
          {"failed", static_cast<int>(results.size()) - passed},
          {"cases", cases}};
}

std::string ReportText(const Json& report) {
  std::string text = "Qualifikation von Quenda " + report["quenda"]["version"].get<std::string>() +
                     " (" + report["quenda"]["build"].get<std::string>() + ")\n";
  text += "Betriebssystem: " + report["operatingSystem"].get<std::string>() + "\n";
  text += "Rechner: " + report["computer"].get<std::string>() +
          ", Benutzer: " + report["user"].get<std::string>() + "\n";
  text += "Datum: " + report["createdAt"].get<std::string>() + "\n";
  text += "Referenzfälle: " + report["kit"]["folder"].get<std::string>() + " (cases.json SHA-256 " +
          report["kit"]["casesSha256"].get<std::string>() + ")\n\n";
  for (const Json& c : report["cases"]) {
    text += (c["result"] == "passed" ? "bestanden: " : "NICHT bestanden: ") +
            c["name"].get<std::string>() + " – " + c["title"].get<std::string>() + " (Status " +
            std::to_string(c["exitStatus"].get<int>()) + ")\n";
    for (const Json& finding : c["findings"]) text += "    " + finding.get<std::string>() + "\n";
    if (c["checkRelease"].is_object()) {
      text +=
          "    Prüfung der Freigabe: " + std::to_string(c["checkRelease"]["checks"].get<int>()) +
          " Prüfungen, " + std::to_string(c["checkRelease"]["findings"].get<int>()) + " Befunde\n";
    }
    for (const Json& f : c["files"]) {
      text += "    " + f["sha256"].get<std::string>() + "  " + f["path"].get<std::string>() + "\n";
    }
  }
  text += "\nQualifikation: " + std::to_string(report["passed"].get<int>()) + " bestanden, " +
          std::to_string(report["failed"].get<int>()) + " nicht bestanden\n";
  return text;
}

void WriteReportFile(const fs::path& path, const std::string& text) {
  const Files files;
  AtomicFile file(files, PathText(path), path);
  file.Write(text);
  file.Commit();
}

}  // namespace

std::optional<fs::path> QualificationKitDir(System& system) {
  const fs::path exe = NativePath(system.ExecutableDir());
  for (const fs::path& dir : {exe / "qualify", exe / ".." / "share" / "quenda" / "qualify"}) {
    std::error_code ec;
    if (fs::is_regular_file(dir / "cases.json", ec)) return dir.lexically_normal();
  }
  return std::nullopt;
}

int RunQualify(const Options& options, System& system, std::FILE* out, std::FILE* err) {
  const std::optional<fs::path> kitDir =
      options.qualifyKit.empty() ? QualificationKitDir(system) : fs::path(options.qualifyKit);
  if (!kitDir) {
    std::fprintf(err, "Quenda: Die Referenzfälle (qualify%ccases.json) fehlen beim Programm\n",
                 FolderSeparator(NativeSystemFamily()));
    return kExitBadOption;
  }
  Kit kit;
  try {
    kit = LoadKit(*kitDir);
  } catch (const Error& e) {
    std::fprintf(err, "Quenda: Die Referenzfälle können nicht gelesen werden: %s\n",
                 Cp1252ToUtf8(e.Description()).c_str());
    return kExitBadOption;
  } catch (const Json::exception& e) {
    std::fprintf(err, "Quenda: %s ist fehlerhaft: %s\n",
                 Cp1252ToUtf8(PathText(*kitDir / "cases.json")).c_str(), e.what());
    return kExitBadOption;
  }
  // The report's folder first: a run of every case is not wasted on a folder that cannot be.
  const fs::path folder(options.qualifyOut);
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder)) {
    if (!ec) ec = std::make_error_code(std::errc::not_a_directory);
    std::fprintf(err, "Quenda: Der Ordner des Qualifikationsberichts: %s\n",
                 Cp1252ToUtf8(FileError(ec, PathText(folder)).Description()).c_str());
    return kExitBadOption;
  }
  const std::string at = UtcNowText();
  std::vector<CaseResult> results;
  try {
    const fs::path work =
        NativePath(system.TempPath()) /
        ("quenda-qualify-" + std::to_string(std::hash<std::string>{}(at + PathText(*kitDir))));
    fs::remove_all(work);
    for (const Case& c : kit.cases) {
      results.push_back(RunCase(kit, c, work, system));
      const CaseResult& r = results.back();
      std::fprintf(out, "%s: %s\n", r.Passed() ? "bestanden" : "NICHT bestanden", c.name.c_str());
      for (const std::string& finding : r.findings) std::fprintf(out, "    %s\n", finding.c_str());
    }
    const Json report = ReportJson(kit, results, system, at, work);
    WriteReportFile(folder / "qualifikation.json", report.dump(2) + "\n");
    WriteReportFile(folder / "qualifikation.txt", ReportText(report));
    std::fprintf(out, "Qualifikation: %d bestanden, %d nicht bestanden\n",
                 report["passed"].get<int>(), report["failed"].get<int>());
    if (report["failed"].get<int>() != 0) {
      std::fprintf(out, "Die Kopien der Fälle bleiben zur Ansicht in %s\n",
                   report["workFolder"].get<std::string>().c_str());
      return kExitAborted;
    }
    fs::remove_all(work, ec);
    return kExitSuccess;
  } catch (const Error& e) {
    std::fprintf(err, "Quenda: %s\n", Cp1252ToUtf8(e.Description()).c_str());
  } catch (const fs::filesystem_error& e) {
    std::fprintf(err, "Quenda: Der Arbeitsordner der Qualifikation: %s\n",
                 Cp1252ToUtf8(FileError(e.code(), PathText(e.path1())).Description()).c_str());
  }
  return kExitBadOption;
}

}  // namespace quenda
