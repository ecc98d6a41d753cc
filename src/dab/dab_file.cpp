#include "dab/dab_file.h"

#include <string_view>

#include "base/error.h"
#include "dab/mask.h"
#include "session/session.h"
#include "text/cp1252.h"
#include "text/tokens.h"

namespace quenda {
namespace {

// The four texts formed from every line.
struct DabLine {
  std::string normalised;  // blanks removed, lower case
  std::string key;
  std::string value;  // from the normalised line
  std::string raw;    // as read after the first "=", trimmed of blanks
};

DabLine SplitDabLine(const std::string& line) {
  DabLine d;
  d.normalised = Normalized(line, "COLLAPSE,LOWCASE");
  d.key = GetToken(d.normalised, 0, "=");
  d.value = GetToken(d.normalised, 1, "=");
  const std::size_t equals = line.find('=');
  d.raw = Normalized(equals == std::string::npos ? line : line.substr(equals + 1), "TRIM");
  return d;
}

bool IsLoggedHead(std::string_view head) {
  for (std::string_view logged :
       {"pst", "est", "dst", "sg", "pre", "app", "pa2", "pa4", "epk", "kun", "pvcs"}) {
    if (head == logged) return true;
  }
  return false;
}

void TakeProjectRecord50(Session& s, const DabLine& d, const std::string& path, int lineNumber) {
  if (d.raw == "NULL") {
    s.job.ProjectRecord50.clear();
    return;
  }
  try {
    s.job.ProjectRecord50 = DecodeMask(Normalized(d.raw, "COLLAPSE,UCASE"), kMaskKey);
  } catch (const Error& e) {
    throw Error(e.Number(), "dab-Datei " + path + " Zeile " + std::to_string(lineNumber) +
                                ": pro_50 = " + d.raw + ": " + e.Description());
  }
}

}  // namespace

void ApplyDabLine(Session& s, const std::string& line, const std::string& path, int lineNumber) {
  const DabLine d = SplitDabLine(line);
  const std::string head = GetToken(GetToken(d.key, 0, "-"), 0, "_");
  bool logged = IsLoggedHead(head);
  if (head == "pro") {
    const std::string number = GetToken(d.key, 1, "_");
    if (number == "50") TakeProjectRecord50(s, d, path, lineNumber);
    logged = number == "_" || number == "1";
  } else if (head == "ver") {
    const std::string qualifier = GetToken(d.key, 1, "-");
    logged = qualifier == "damos" || qualifier == "toolpac";
  } else if (head == "osp") {
    s.state.OspName = d.value;
  } else if (head == "kun") {
    s.job.RunKundenGruppe = d.raw;
  }
  if (logged) s.WriteLogLine(head == "app" ? line : d.normalised);
}

void ReadDabFile(Session& s, const std::string& path) {
  s.WriteLogLine("dab-Datei " + path + " lesen.");
  s.record.AwaitInput(path, input_role::kDab);
  const std::vector<std::string> lines = s.files.ReadLines(path);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ApplyDabLine(s, lines[i], path, static_cast<int>(i) + 1);
  }
  s.WriteLogLine("dab-Datei " + path + " schließen."_cp);
}

}  // namespace quenda
