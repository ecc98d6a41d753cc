#include "app/release_batch.h"

#include "app/batch_encoding.h"
#include "base/error.h"
#include "session/session.h"
#include "session/termination.h"
#include "text/batch_text.h"
#include "text/tokens.h"

namespace quenda {
namespace {

std::string Param(const Session& s, const std::string& name) {
  return s.params.FindParameterValue(s.state.izeile, name);
}

std::string BeforeFirstDot(const std::string& text) { return GetToken(text, 0, "."); }

// The characters of SET "NAME=" and the closing quote around a value.
std::size_t SetLineRest(const std::string& name) { return name.size() + 7; }

void AddCustomerGroup021Variables(const Session& s, std::vector<BatchVariable>& vars) {
  vars.push_back({"FileAppl", BeforeFirstDot(Param(s, "ApplFileName"))});
  vars.push_back({"FileOutp", Param(s, "SoftwareName")});
  vars.push_back({"FileNamExt", Param(s, "SWMIEX")});
  const std::string dat = Param(s, "SWMIDA");
  if (!dat.empty()) {
    vars.push_back({"FileNamDat", dat});
  } else {
    for (const char* n : {"1", "2", "3"}) {
      vars.push_back({std::string("FileNamDat") + n, Param(s, std::string("SWMIDA") + n)});
    }
  }
  vars.push_back({"FileNamInt", Param(s, "SWMIIN")});
  vars.push_back({"SwIdentNo", Param(s, "SoftwarePartNumber")});
  vars.push_back({"HwIdentNo", Param(s, "HardwarePartNumber")});
}

// The start script of the configured version. The version is expanded outside quotes (a
// refused value never gets here); a tools folder with blanks is quoted as a whole.
std::string CallLine(const Session& s) {
  std::string script = s.site.SeriesToolsRoot + "\\%KolpVers%\\ToolStart.bat";
  if (s.site.SeriesToolsRoot.find_first_of(" \t,;=") != std::string::npos) {
    script = "\"" + script + "\"";
  }
  return "call " + script + " %1 ";
}

}  // namespace

std::string RefusedReleaseBatchValue(const Session& s, const ReleaseFolders& f) {
  for (const BatchVariable& v : ReleaseBatchVariables(s, f)) {
    BatchFault fault = FindBatchValueFault(s, v.value, SetLineRest(v.name));
    if (fault == BatchFault::kNone) fault = FindSetValueFault(v.value);
    if (fault != BatchFault::kNone) {
      return RefusedBatchValueText(v.name, v.value, fault, kReleaseBatchName);
    }
  }
  // %KolpVers% and the tools folder stand in the call line, where no quoting holds them.
  if (BatchFault fault = FindCommandLineFault(s.job.CfgToolVersion, true);
      fault != BatchFault::kNone) {
    return RefusedBatchValueText("KolpVers", s.job.CfgToolVersion, fault, kReleaseBatchName);
  }
  const std::string& root = s.site.SeriesToolsRoot;
  BatchFault fault = FindCommandLineFault(root, false);
  if (fault == BatchFault::kNone) fault = FindBatchValueFault(s, root);
  if (fault != BatchFault::kNone) {
    return RefusedBatchValueText("[Site] SeriesToolsRoot", root, fault, kReleaseBatchName);
  }
  return {};
}

std::string SetLine(const std::string& name, const std::string& value) {
  const BatchFault fault = FindSetValueFault(value, SetLineRest(name));
  if (fault != BatchFault::kNone) {
    throw Error(kErrComposed, RefusedBatchValueText(name, value, fault, kReleaseBatchName));
  }
  if (!NeedsBatchQuotes(value)) return "SET " + name + "=" + value;
  return "SET \"" + name + "=" + EscapeBatchPercent(value) + "\"";
}

std::vector<BatchVariable> ReleaseBatchVariables(const Session& s, const ReleaseFolders& f) {
  const std::string split = SplitPath(s.job.JobFilePath);
  std::vector<BatchVariable> vars = {
      {"XML_Root", GetToken(split, 0, "|")},
      {"XML_JobName", BeforeFirstDot(GetToken(split, 1, "|"))},
      {"KolpVers", s.job.CfgToolVersion},
      {"PathBasis", f.PathBasis},
      {"FileBasis", f.FileBasis},
      {"PathFreig", f.PathFreig},
      {"FileFreig", f.FileFreig},
      {"IndexECUM", s.job.CustomerPlantIndex},
  };
  if (s.job.ReleasesIntegrationFiles()) AddCustomerGroup021Variables(s, vars);
  return vars;
}

std::vector<std::string> ReleaseBatchLines(const Session& s, const ReleaseFolders& f) {
  std::vector<std::string> lines = {"echo off"};
  for (const BatchVariable& v : ReleaseBatchVariables(s, f))
    lines.push_back(SetLine(v.name, v.value));
  lines.insert(lines.end(), {"", CallLine(s), "", "echo.", "echo Bearbeitung beendet", "echo.",
                             "pause", "exit"});
  return lines;
}

void WriteReleaseBatch(Session& s, const ReleaseFolders& f) {
  if (const std::string refused = RefusedReleaseBatchValue(s, f); !refused.empty()) {
    ErrorEnd(s, refused, EndStyle::Box(48), "Abbruch");
  }
  s.files.WriteLines(f.PathFreig + "\\" + kReleaseBatchName,
                     InBatchCodePage(s, ReleaseBatchLines(s, f), kReleaseBatchName));
}

}  // namespace quenda
