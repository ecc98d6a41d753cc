#include "app/release_batch.h"

#include "app/session.h"
#include "text/tokens.h"

namespace quenda {
namespace {

std::string Param(const Session& s, const std::string& name) {
  return s.params.FindParameterValue(s.state.izeile, name);
}

std::string BeforeFirstDot(const std::string& text) { return GetToken(text, 0, "."); }

void AddCustomerGroup021Lines(const Session& s, std::vector<std::string>& lines) {
  lines.push_back(SetLine("FileAppl", BeforeFirstDot(Param(s, "ApplFileName"))));
  lines.push_back(SetLine("FileOutp", Param(s, "SoftwareName")));
  lines.push_back(SetLine("FileNamExt", Param(s, "SWMIEX")));
  const std::string dat = Param(s, "SWMIDA");
  if (!dat.empty()) {
    lines.push_back(SetLine("FileNamDat", dat));
  } else {
    for (const char* n : {"1", "2", "3"}) {
      lines.push_back(SetLine(std::string("FileNamDat") + n, Param(s, std::string("SWMIDA") + n)));
    }
  }
  lines.push_back(SetLine("FileNamInt", Param(s, "SWMIIN")));
  lines.push_back(SetLine("SwIdentNo", Param(s, "SoftwarePartNumber")));
  lines.push_back(SetLine("HwIdentNo", Param(s, "HardwarePartNumber")));
}

}  // namespace

std::string SetLine(const std::string& name, const std::string& value) {
  if (value.find_first_of("&|<>^%") == std::string::npos) return "SET " + name + "=" + value;
  std::string escaped;
  for (char c : value) escaped += c == '%' ? std::string("%%") : std::string(1, c);
  return "SET \"" + name + "=" + escaped + "\"";
}

std::vector<std::string> ReleaseBatchLines(const Session& s, const ReleaseFolders& f) {
  const std::string split = SplitPath(s.job.JobFilePath);
  std::vector<std::string> lines = {
      "echo off",
      SetLine("XML_Root", GetToken(split, 0, "|")),
      SetLine("XML_JobName", BeforeFirstDot(GetToken(split, 1, "|"))),
      SetLine("KolpVers", s.job.CfgToolVersion),
      SetLine("PathBasis", f.PathBasis),
      SetLine("FileBasis", f.FileBasis),
      SetLine("PathFreig", f.PathFreig),
      SetLine("FileFreig", f.FileFreig),
      SetLine("IndexECUM", s.job.CustomerPlantIndex),
  };
  if (s.job.RunKundenGruppe == "021") AddCustomerGroup021Lines(s, lines);
  lines.insert(lines.end(),
               {"", "call " + s.site.SeriesToolsRoot + "\\%KolpVers%\\ToolStart.bat %1 ", "",
                "echo.", "echo Bearbeitung beendet", "echo.", "pause", "exit"});
  return lines;
}

void WriteReleaseBatch(const Session& s, const ReleaseFolders& f) {
  s.files.WriteLines(f.PathFreig + "\\ParaSerie.bat", ReleaseBatchLines(s, f));
}

}  // namespace quenda
