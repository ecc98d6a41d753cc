#include "conservation/data_version_dab.h"

#include <algorithm>
#include <vector>

#include "session/session.h"
#include "session/termination.h"
#include "text/cp1252.h"
#include "text/tokens.h"
#include "text/windows_name.h"

namespace quenda {
namespace {

constexpr std::size_t kReplacedTail = 6;  // "01.dab": version and extension of the base

std::string Parameter(const Session& s, const std::string& name) {
  return s.params.FindParameterValue(s.state.izeile, name);
}

// `text` less its last six characters; `what` names it in the message for a shorter text.
std::string CutTail(Session& s, const std::string& text, const std::string& what) {
  if (text.size() < kReplacedTail) {
    ErrorEnd(s, what + " ist kürzer als 6 Zeichen, der Datenstand kann nicht eingesetzt werden"_cp,
             EndStyle::Box(48), "Abbruch");
  }
  return text.substr(0, text.size() - kReplacedTail);
}

// The parameter lines and the closing lines the new DAB file gets behind the base.
std::vector<std::string> AppendedLines(const Session& s, const std::string& konName,
                                       const std::string& dataVersion) {
  std::vector<std::string> lines;
  const int last = std::min(s.state.izeile, ParamTable::kRows - 1);
  for (int row = 0; row <= last; ++row) {
    const std::string& nameDab = s.params.At(row, ParamTable::kNameDab);
    if (nameDab.empty()) continue;
    const std::string& value = s.params.At(row, ParamTable::kValue);
    lines.push_back(nameDab + " = " + (value.empty() ? "NULL" : value));
  }
  lines.push_back("APP-Datei = " + Parameter(s, "ApplPathName") + "\\" +
                  Parameter(s, "ApplFileName"));
  lines.push_back("KON-Datei = " + konName);
  lines.push_back("DST-Text = " + dataVersion);
  lines.push_back("EPK-DST = " + Parameter(s, "SoftwareName"));
  const std::string variant = Parameter(s, "PST_Kennung_Variant");
  if (!variant.empty()) lines.push_back("PST-Text = " + variant);
  return lines;
}

// The version text: the parameter "DataVersion", for customer group "JAP" its last two
// characters.
std::string DataVersionText(Session& s) {
  const std::string dataVersion = Parameter(s, "DataVersion");
  if (s.job.RunKundenGruppe != "JAP") return dataVersion;
  if (dataVersion.size() < 2) {
    ErrorEnd(s, "Datenstand >" + dataVersion + "< hat weniger als 2 Zeichen (Kundengruppe JAP)",
             EndStyle::Box(48), "Abbruch");
  }
  return dataVersion.substr(dataVersion.size() - 2);
}

void WriteTarget(Session& s, const std::string& source, const std::string& target,
                 const std::vector<std::string>& lines) {
  try {
    std::string content = s.files.ReadAll(source);
    for (const std::string& line : lines) content += line + "\r\n";
    s.files.WriteAll(target, content);
  } catch (const Error& e) {
    ErrorEnd(s,
             "DAB-Datei " + target + " kann nicht aus " + source +
                 " angelegt werden: " + e.Description(),
             EndStyle::Box(48), "Abbruch");
  }
}

}  // namespace

std::string NewDabName(Session& s, const std::string& DabFileName) {
  const std::string file = GetToken(SplitPath(DabFileName), 1, "|");
  const std::string stem = CutTail(s, file, "Der Dateiname >" + file + "< von " + DabFileName);
  const std::string version = DataVersionText(s);
  // The conservation files and the release batch take the name up to its first ".".
  if (const NameFault fault = FindNamePartFault(version); fault != NameFault::kNone) {
    ErrorEnd(s, RefusedNameText("DataVersion", version, fault), EndStyle::Box(48), "Abbruch");
  }
  const std::string name = stem + version + ".dab";
  if (const NameFault fault = FindNameFault(name); fault != NameFault::kNone) {
    ErrorEnd(s, RefusedNameText("DataVersion", name, fault), EndStyle::Box(48), "Abbruch");
  }
  return name;
}

std::vector<LineValue> DabLineValues(const Session& s, const std::string& DabFileName) {
  std::vector<LineValue> values;
  const int last = std::min(s.state.izeile, ParamTable::kRows - 1);
  for (int row = 0; row <= last; ++row) {
    const std::string& nameDab = s.params.At(row, ParamTable::kNameDab);
    if (nameDab.empty()) continue;
    const std::string& name = s.params.At(row, ParamTable::kName);
    values.push_back({name, nameDab});
    values.push_back({name, s.params.At(row, ParamTable::kValue)});
  }
  for (const char* name :
       {"ApplPathName", "ApplFileName", "DataVersion", "SoftwareName", "PST_Kennung_Variant"}) {
    values.push_back({name, Parameter(s, name)});
  }
  values.push_back({"IntegrationDABFile", DabFileName});
  return values;
}

bool AppendDabFile(Session& s, const std::string& DabFileName) {
  const std::string split = SplitPath(DabFileName);
  const std::string folder = GetToken(split, 0, "|");
  const std::string file = GetToken(split, 1, "|");
  s.state.DabNewName = NewDabName(s, DabFileName);
  const std::string dataVersion = DataVersionText(s);
  const std::string source = folder + "\\" + file;
  const std::string target = folder + "\\" + s.state.DabNewName;
  if (target == source) {
    s.ui.MsgBox("Für die Bearbeitung von Datenstand = "_cp + dataVersion +
                "\r\nkann nicht die Basis von\r\n" + source + "\r\ngewählt werden!"_cp);
    return false;
  }
  const std::string konName =
      CutTail(s, Trim(DabFileName), "Der Pfad " + DabFileName) + dataVersion + ".kon";
  RequireLineValues(DabLineValues(s, DabFileName), target);
  WriteTarget(s, source, target, AppendedLines(s, konName, dataVersion));
  return true;
}

}  // namespace quenda
