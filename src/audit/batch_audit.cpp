#include "audit/batch_audit.h"

#include <vector>

#include "audit/release_source.h"
#include "text/cp1252.h"

namespace quenda::audit {
namespace {

using Faults = std::vector<std::string>;

std::string Upper(const std::string& s) { return UpperCase(s); }

void Set(std::vector<std::pair<std::string, std::string>>& v, const std::string& name,
         const std::string& value) {
  for (auto& [n, old] : v) {
    if (n == name) old = value;
  }
}

std::string BaseName(const std::string& path) {
  const std::string name = FileNameOf(path);
  return name.substr(0, name.find('.'));
}

// The variables ParaSerie.bat must set, with the values the report gives.
std::vector<std::pair<std::string, std::string>> ExpectedVariables(const ReleaseReport& r,
                                                                   const std::string& path,
                                                                   const std::string& plantIndex) {
  const ReportFile* base = r.InputOf("dab");
  std::string newDab;
  for (const ReportFile& f : r.files) {
    if (EndsWithIgnoreCase(f.path, ".dab") && EqualsIgnoreCase(FolderOf(f.path), FolderOf(path)) &&
        (base == nullptr || !EqualsIgnoreCase(FileNameOf(f.path), FileNameOf(base->path)))) {
      newDab = f.path;
    }
  }
  std::vector<std::pair<std::string, std::string>> v = {
      {"XML_Root", FolderOf(r.job)},
      {"XML_JobName", BaseName(r.job)},
      {"KolpVers", r.toolVersion},
      {"PathBasis", base != nullptr ? FolderOf(base->path) : ""},
      {"FileBasis", base != nullptr ? BaseName(base->path) : ""},
      {"PathFreig", FolderOf(path)},
      {"FileFreig", BaseName(newDab)},
      {"IndexECUM", plantIndex},
  };
  if (r.kolpatoren == "000") {  // without series tools the release is the version file's
    const std::string release = r.Parameter("ReleaseVersionFilePath").value_or("");
    for (const char* name : {"PathBasis", "PathFreig"}) Set(v, name, FolderOf(release));
    for (const char* name : {"FileBasis", "FileFreig"}) Set(v, name, FileNameOf(release));
  }
  if (r.customerGroup != "021") return v;
  const auto p = [&](const char* name) { return r.Parameter(name).value_or(""); };
  // Customer group 021 builds on the integration file.
  Set(v, "PathBasis", p("IntegrationPathName") + "\\");
  Set(v, "FileBasis", p("IntegrationFileName").substr(0, p("IntegrationFileName").find('.')));
  v.push_back({"FileAppl", p("ApplFileName").substr(0, p("ApplFileName").find('.'))});
  v.push_back({"FileOutp", p("SoftwareName")});
  v.push_back({"FileNamExt", p("SWMIEX")});
  if (!p("SWMIDA").empty()) {
    v.push_back({"FileNamDat", p("SWMIDA")});
  } else {
    for (const char* n : {"1", "2", "3"})
      v.push_back({std::string("FileNamDat") + n, p((std::string("SWMIDA") + n).c_str())});
  }
  v.push_back({"FileNamInt", p("SWMIIN")});
  v.push_back({"SwIdentNo", p("SoftwarePartNumber")});
  v.push_back({"HwIdentNo", p("HardwarePartNumber")});
  return v;
}

// What cmd's second phase leaves of an unquoted command text: outside double quotes "^"
// takes the next character literally and "&", "|", "<", ">" end the command; a quote
// stays and toggles the quoting.
std::string PlainCommandText(const std::string& text) {
  std::string out;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') quoted = !quoted;
    if (!quoted && c == '^') {
      if (i + 1 < text.size()) out += text[++i];
      continue;
    }
    if (!quoted && (c == '&' || c == '|' || c == '<' || c == '>')) break;
    out += c;
  }
  return out;
}

}  // namespace

std::string ExpandBatchLine(const std::string& line,
                            const std::map<std::string, std::string>& variables) {
  std::string out;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] != '%') {
      out += line[i];
      continue;
    }
    if (i + 1 < line.size() && line[i + 1] == '%') {
      out += '%';
      ++i;
      continue;
    }
    if (i + 1 < line.size() && line[i + 1] >= '0' && line[i + 1] <= '9') {
      out += line.substr(i, 2);
      ++i;
      continue;
    }
    const std::size_t end = line.find('%', i + 1);
    if (end == std::string::npos) continue;  // a lone % is dropped
    const auto it = variables.find(Upper(line.substr(i + 1, end - i - 1)));
    if (it != variables.end()) out += it->second;
    i = end;
  }
  return out;
}

std::map<std::string, std::string> BatchVariables(const std::string& bytes) {
  std::map<std::string, std::string> vars;
  for (const std::string& raw : SplitLines(bytes)) {
    const std::string line = ExpandBatchLine(raw, vars);
    if (line.size() < 4 || Upper(line.substr(0, 4)) != "SET ") continue;
    std::string assignment = line.substr(4);
    if (!assignment.empty() && assignment[0] == '"') {
      const std::size_t last = assignment.find_last_of('"');
      assignment = assignment.substr(1, last == 0 ? std::string::npos : last - 1);
    } else {
      assignment = PlainCommandText(assignment);
    }
    const std::size_t eq = assignment.find('=');
    if (eq == std::string::npos || eq == 0) continue;
    vars[Upper(assignment.substr(0, eq))] = assignment.substr(eq + 1);
  }
  return vars;
}

void AuditReleaseBatch(const ReleaseReport& report, const std::string& path,
                       const std::string& bytes, const std::string& seriesToolsRoot,
                       const std::string& plantIndex, AuditLog& log) {
  const std::map<std::string, std::string> vars = BatchVariables(bytes);
  for (const auto& [name, expected] : ExpectedVariables(report, path, plantIndex)) {
    const auto it = vars.find(Upper(name));
    Faults faults;
    if (it == vars.end()) {
      faults.push_back("die Variable " + name + " wird nicht gesetzt (erwartet >" + expected +
                       "<)");
    } else if (it->second != expected) {
      faults.push_back("die Variable " + name + " ist >" + it->second + "<, erwartet >" + expected +
                       "<");
    }
    log.Check("QR-BAT-SET", path, name + " = " + expected, faults);
  }
  const std::string call =
      "call " + seriesToolsRoot + "\\" + report.toolVersion + "\\ToolStart.bat %1 ";
  bool found = false;
  for (const std::string& line : SplitLines(bytes)) {
    if (Upper(line.substr(0, 5)) == "CALL ") found = found || ExpandBatchLine(line, vars) == call;
  }
  log.Check("QR-BAT-CALL", path, "Aufruf >" + call + "<",
            found ? Faults{} : Faults{"keine Aufrufzeile >" + call + "<"});
}

void AuditCollectionBatch(const ReleaseReport& report, const std::string& path,
                          const std::string& bytes, const std::string& newDab, AuditLog& log) {
  const std::string start = "Tarvell.exe \"" + newDab + "||";
  bool ended = true;
  const std::vector<std::string> lines = SplitLines(bytes, &ended);
  Faults faults;
  int count = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].rfind(start, 0) != 0) continue;
    ++count;
    const std::string& line = lines[i];
    const bool lastField = report.ba == "000" || report.ba == "001";
    const bool whole = line.size() > start.size() && line.back() == '"' &&
                       (i + 1 < lines.size() || ended) &&
                       (!lastField || line.find("|" + report.customerGroup + "|", start.size()) !=
                                          std::string::npos);
    if (!whole)
      faults.push_back("der Eintrag in Zeile " + std::to_string(i + 1) + " ist unvollständig: >" +
                       line + "<"_cp);
  }
  if (count != 1) {
    faults.push_back("der Eintrag für "_cp + newDab + " steht " + std::to_string(count) +
                     "-mal darin, erwartet einmal");
  }
  log.Check("QR-TARVELL", path, "Eintrag für "_cp + newDab + " einmal und vollständig"_cp, faults);
}

}  // namespace quenda::audit
