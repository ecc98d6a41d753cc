#include "app/run_sequence.h"

#include "app/collection_batch.h"
#include "app/main_window.h"
#include "app/release_batch.h"
#include "base/error.h"
#include "base/line_value.h"
#include "conservation/conservation_files.h"
#include "conservation/data_version_dab.h"
#include "conservation/object_store.h"
#include "dab/dab_file.h"
#include "platform/drive_map.h"
#include "session/session.h"
#include "session/termination.h"
#include "text/cp1252.h"
#include "text/tokens.h"
#include "text/windows_name.h"

namespace quenda {
namespace {

// The command ended; the window stays open.
struct CommandEnded {};

// The parts of a DAB path.
struct DabParts {
  std::string folder;    // folder holding the DAB file
  std::string fileName;  // DAB file name
  std::string baseName;  // file name up to its first "."
  std::string project;   // folder holding the DAB folder
};

DabParts PartsOf(const std::string& dabFilePath) {
  DabParts p;
  const std::string split = SplitPath(dabFilePath);
  p.folder = GetToken(split, 0, "|");
  p.fileName = GetToken(split, 1, "|");
  p.baseName = GetToken(p.fileName, 0, ".");
  p.project = GetToken(SplitPath(p.folder), 0, "|");
  return p;
}

std::string Param(const Session& s, const std::string& name) {
  return s.params.FindParameterValue(s.state.izeile, name);
}

// Ends the run when `name`, composed from the parameter `what`, is not one valid file or
// folder name: it would reach into another folder, or mean another file on Windows.
void CheckName(Session& s, const std::string& what, const std::string& name) {
  if (const NameFault fault = FindNameFault(name); fault != NameFault::kNone) {
    ErrorEnd(s, RefusedNameText(what, name, fault), EndStyle::Box(48), "Abbruch");
  }
}

// Ends the run when a path the release writes or names is longer than Windows and the
// series tools open, before the first file of the release is written.
void CheckReleasePath(Session& s, const std::string& path) {
  if (const std::string refused = RefusedPathLengthText(path); !refused.empty()) {
    ErrorEnd(s, refused, EndStyle::Box(48), "Abbruch");
  }
}

// Ends the run when the path value of the parameter `what` has a device prefix.
void CheckPathValue(Session& s, const std::string& what, const std::string& path) {
  if (HasDevicePrefix(path))
    ErrorEnd(s, RefusedDevicePathText(path) + " (" + what + ")", EndStyle::Box(48), "Abbruch");
}

// Ends the run when one of `values` cannot stand in a line of `file`.
void CheckLineValues(Session& s, const std::vector<LineValue>& values, const std::string& file) {
  if (const std::string refused = RefusedLineValue(values, file); !refused.empty()) {
    ErrorEnd(s, refused, EndStyle::Box(48), "Abbruch");
  }
}

void EndCommand(Session& s, const std::string& text) {
  s.ui.MsgBox(text);
  throw CommandEnded{};
}

// The values from outside in the lines of the DAB file the customer folder gets: the hex
// line of a copy, or the lines of a new DAB file.
std::vector<LineValue> CustomerDabLineValues(const Session& s, const std::string& folderName) {
  std::vector<LineValue> values = {{"IntegrationDABFile", s.state.DabFilePath},
                                   {"CustomerHWNo_DirName", folderName}};
  if (!s.job.CopiesIntegrationDab()) values.push_back({"ba", s.job.RunBa});
  return values;
}

// Copies the DAB file line by line, pointing its hex line into the customer folder.
void CopyDabFile(Session& s, const DabParts& dab, const std::string& folderName,
                 const std::string& customerFolder) {
  std::vector<std::string> lines = s.files.ReadLines(s.state.DabFilePath);
  for (std::string& line : lines) {
    if (Normalized(GetToken(line, 0, "="), "COLLAPSE,UCASE") == "HEX-DATEI") {
      line = "HEX-Datei = " + customerFolder + "\\" + dab.baseName + ".hex";
    }
  }
  const std::string target = customerFolder + "\\" + dab.fileName;
  RequireLineValues(CustomerDabLineValues(s, folderName), target);
  s.files.WriteLines(target, lines);
  s.WriteLogLine("dab_File " + target + " ist angelegt!");
}

// The hex file (required) and the dam or dbf file (optional) next to the DAB file.
void CopyProjectFiles(Session& s, const DabParts& dab, const std::string& customerFolder) {
  const std::string from = dab.folder + "\\" + dab.baseName;
  const std::string to = customerFolder + "\\" + dab.baseName;
  if (!s.files.FileExists(from + ".hex")) EndCommand(s, "Angegebener Hexfile ist nicht vorhanden!");
  s.record.AwaitInput(from + ".hex", input_role::kHex);
  s.files.Copy(from + ".hex", to + ".hex");
  s.WriteLogLine("hex-File " + to + ".hex ist kopiert!");
  for (const char* ext : {".dam", ".dbf"}) {
    if (!s.files.FileExists(from + ext)) continue;
    s.record.AwaitInput(from + ext, input_role::kDamos);
    s.files.Copy(from + ext, to + ext);
    s.WriteLogLine("dam-File " + to + ext + " ist kopiert!");
    return;
  }
  s.ui.MsgBox("Achtung, weder *.dam noch *.dbf-file konnte übernommen werden!"_cp);
}

// The name of the customer folder below the project; empty (after a remark box) when the
// configuration names none.
std::string CustomerFolderName(Session& s) {
  const std::string name = Normalized(Param(s, "CustomerHWNo_DirName"), "Collapse");
  if (name.empty()) {
    s.ui.MsgBox(
        "There is no name for the subfolder of \"CustomerHWNo_DirName\" in the "
        "configuration",
        0, "remark");
  }
  return name;
}

std::string IntegrationDabFile(Session& s) {
  const std::string path = Param(s, "IntegrationDABFile");
  if (s.job.RunMode == "T") s.ui.MsgBox("Start = " + path);
  return path;
}

// Customer group "021" releases without checking against the object store.
void LoadObjectStoreToCheck(Session& s) {
  if (s.job.ReleasesIntegrationFiles()) return;
  // A DAB file without an "OSP-Datei" line names no object store to check.
  if (s.state.OspName.empty()) {
    throw Error(kErrFileNotFound,
                "Keine OSP-Datei in der dab-Datei " + s.state.DabFilePath + " angegeben!");
  }
  LoadObjectStore(s);
  s.ui.RunSummaryChanged();
}

// The files customer group "021" copies into the release folder `pathFreig`.
std::vector<std::string> IntegrationCopyPaths(const Session& s, const std::string& pathFreig) {
  const std::string base = pathFreig + "\\" + GetToken(Param(s, "IntegrationFileName"), 0, ".");
  return {base + ".s19", base + ".dcm",
          pathFreig + "\\" + GetToken(Param(s, "ApplFileName"), 0, ".") + ".hex"};
}

// The folders and names the release batch will get with series tools, as CopyIntegrationDab,
// SetReleaseFolders and CopyIntegrationFiles set them, so its values can be checked first.
ReleaseFolders PlannedSeriesFolders(const Session& s, const DabParts& dab,
                                    const std::string& customerFolder, const std::string& newName) {
  ReleaseFolders f;
  if (s.job.CopiesIntegrationDab()) f = {dab.folder, dab.baseName, {}, {}};
  if (s.job.ReleasesIntegrationFiles()) {
    f.PathBasis = Param(s, "IntegrationPathName") + "\\";
    f.FileBasis = GetToken(Param(s, "IntegrationFileName"), 0, ".");
  }
  f.PathFreig = customerFolder;
  f.FileFreig = GetToken(newName, 0, ".");
  return f;
}

// The names, paths and line values of every file the release with series tools writes into
// `customerFolder`, checked before anything is created.
void CheckSeriesRelease(Session& s, const DabParts& dab, const std::string& folderName,
                        const std::string& customerFolder) {
  CheckName(s, "IntegrationDABFile", dab.baseName);
  const std::string dabName = s.job.CopiesIntegrationDab() ? dab.fileName : dab.baseName + ".dab";
  CheckName(s, "IntegrationDABFile", dabName);
  const std::string dabPath = customerFolder + "\\" + dabName;
  const std::string newName = NewDabName(s, dabPath);
  const std::string newDab = customerFolder + "\\" + newName;
  // The other conservation files have names as long.
  const std::string kon = customerFolder + "\\" + GetToken(newName, 0, ".") + "s.kon";
  std::vector<std::string> paths = {dabPath, newDab, kon,
                                    customerFolder + "\\" + kReleaseBatchName};
  if (s.job.CopiesIntegrationDab()) {
    for (const char* ext : {".hex", ".dam"})
      paths.push_back(customerFolder + "\\" + dab.baseName + ext);
  }
  if (s.job.ReleasesIntegrationFiles()) {
    for (const std::string& path : IntegrationCopyPaths(s, customerFolder)) paths.push_back(path);
  }
  for (const std::string& path : paths) CheckReleasePath(s, path);
  const ReleaseFolders folders = PlannedSeriesFolders(s, dab, customerFolder, newName);
  if (const std::string refused = RefusedReleaseBatchValue(s, folders); !refused.empty()) {
    ErrorEnd(s, refused, EndStyle::Box(48), "Abbruch");
  }
  CheckLineValues(s, CustomerDabLineValues(s, folderName), dabPath);
  CheckLineValues(s, DabLineValues(s, dabPath), newDab);
  if (!s.job.ReleasesIntegrationFiles()) CheckLineValues(s, ConservationLineValues(s), kon);
}

void EnsureFolder(Session& s, const std::string& folder) {
  if (!s.files.FolderExists(folder)) s.files.CreateFolder(folder);
}

// Copied DAB (run BA "000", "001"): the integration DAB file names the object store; it is
// copied with its hex and dam or dbf file into the customer folder. Returns the copy's path.
std::string CopyIntegrationDab(Session& s, const DabParts& dab, const std::string& folderName,
                               const std::string& customerFolder, ReleaseFolders& folders) {
  const std::string& path = s.state.DabFilePath;
  if (path.empty()) EndCommand(s, "Kein " + path + " angegeben!");
  if (!s.files.FileExists(path)) EndCommand(s, "Kein " + path + " vorhanden!");
  ReadDabFile(s, path);
  LoadObjectStoreToCheck(s);
  CheckSeriesRelease(s, dab, folderName, customerFolder);
  EnsureFolder(s, customerFolder);
  folders.PathBasis = dab.folder;
  folders.FileBasis = dab.baseName;
  CopyDabFile(s, dab, folderName, customerFolder);
  s.ui.SetBusy(true);
  CopyProjectFiles(s, dab, customerFolder);
  return customerFolder + "\\" + dab.fileName;
}

// Writes the new DAB file of the control unit `sg` of project folder `projekt`; returns its
// path.
std::string WriteNewDabFile(Session& s, const std::string& folderName,
                            const std::string& customerFolder, const std::string& sg,
                            const std::string& projekt) {
  const std::string path = customerFolder + "\\" + sg + ".dab";
  RequireLineValues(CustomerDabLineValues(s, folderName), path);
  s.files.WriteLines(path, {"OSP-Datei = " + projekt + "makeout\\damos\\" + sg + ".osp",
                            "HEX-Datei = " + customerFolder + "\\" + sg + ".hex",
                            "ADL-Datei = " + projekt + "makeout\\damos\\" + sg + ".adl",
                            "PVCS-Label = " + sg, "BEA-KennNr = " + s.job.RunBa});
  return path;
}

// Any other run BA: the integration DAB path names the control unit, the project and its
// object store; a new DAB file for them goes into the customer folder. Returns its path.
std::string WriteProjectDab(Session& s, const DabParts& dab, const std::string& folderName,
                            const std::string& customerFolder) {
  s.state.SgFileName = dab.baseName;
  s.state.ProjektDir = dab.project + "\\";
  s.state.OspName = s.state.ProjektDir + "makeout\\Damos\\" + s.state.SgFileName + ".osp";
  LoadObjectStoreToCheck(s);
  CheckSeriesRelease(s, dab, folderName, customerFolder);
  EnsureFolder(s, customerFolder);
  return WriteNewDabFile(s, folderName, customerFolder, s.state.SgFileName, s.state.ProjektDir);
}

// Series-tool preparation: the DAB file of the release goes into the customer folder and gets
// the data version. Returns false when no customer folder name is configured.
bool PrepareSeriesTools(Session& s, ReleaseFolders& folders) {
  const std::string folderName = CustomerFolderName(s);
  if (folderName.empty()) return false;
  CheckName(s, "CustomerHWNo_DirName", folderName);
  s.state.DabFilePath = IntegrationDabFile(s);
  CheckPathValue(s, "IntegrationDABFile", s.state.DabFilePath);
  const DabParts dab = PartsOf(s.state.DabFilePath);
  const std::string customerFolder = dab.project + "\\" + folderName;
  s.state.DabFilePath = s.job.CopiesIntegrationDab()
                            ? CopyIntegrationDab(s, dab, folderName, customerFolder, folders)
                            : WriteProjectDab(s, dab, folderName, customerFolder);
  // The box has told the user that the base already carries the data version; going on
  // would release the base under the new version's files and collection entry.
  if (!AppendDabFile(s, s.state.DabFilePath)) throw CommandEnded{};
  return true;
}

void SetReleaseFolders(Session& s, bool seriesTools, ReleaseFolders& f) {
  if (!seriesTools) {
    const std::string releaseVersionFile = Param(s, "ReleaseVersionFilePath");
    CheckPathValue(s, "ReleaseVersionFilePath", releaseVersionFile);
    const std::string split = SplitPath(releaseVersionFile);
    f.PathBasis = GetToken(split, 0, "|");
    f.FileBasis = GetToken(split, 1, "|");
    if (!f.FileBasis.empty()) CheckName(s, "ReleaseVersionFilePath", f.FileBasis);
    if (f.PathBasis.empty()) {
      TerminateRun(s,
                   "Fehler, bei der Bearbeitung ohne Kolpatoren muss der File "
                   "\"ReleaseVersionFilePath\" übergeben werden!"_cp,
                   EndStyle::Box(), "Abbruch");
    }
    f.PathFreig = f.PathBasis;
    f.FileFreig = f.FileBasis;
    CheckReleasePath(s, f.PathFreig + "\\" + kReleaseBatchName);
    if (!s.job.ReleasesIntegrationFiles()) return;
    for (const std::string& path : IntegrationCopyPaths(s, f.PathFreig)) CheckReleasePath(s, path);
    return;
  }
  f.PathFreig = GetToken(SplitPath(s.state.DabFilePath), 0, "|");
  f.FileFreig = GetToken(s.state.DabNewName, 0, ".");
}

// Customer group "021": the integration and application files go into the release folder.
void CopyIntegrationFiles(Session& s, ReleaseFolders& f) {
  f.PathBasis = Param(s, "IntegrationPathName") + "\\";
  f.FileBasis = GetToken(Param(s, "IntegrationFileName"), 0, ".");
  for (const char* ext : {".s19", ".dcm"}) {
    s.record.AwaitInput(f.PathBasis + f.FileBasis + ext, input_role::kApplication);
    s.files.Copy(f.PathBasis + f.FileBasis + ext, f.PathFreig + "\\" + f.FileBasis + ext);
  }
  const std::string appl = Param(s, "ApplFileName");
  const std::string applSource = Param(s, "ApplPathName") + "\\" + appl;
  s.record.AwaitInput(applSource, input_role::kApplication);
  s.files.Copy(applSource, f.PathFreig + "\\" + GetToken(appl, 0, ".") + ".hex");
}

// The names the customer group "021" copies get, checked before anything is created.
void CheckIntegrationNames(Session& s) {
  CheckPathValue(s, "IntegrationPathName", Param(s, "IntegrationPathName"));
  CheckPathValue(s, "ApplPathName", Param(s, "ApplPathName"));
  CheckName(s, "IntegrationFileName", GetToken(Param(s, "IntegrationFileName"), 0, ".") + ".s19");
  CheckName(s, "ApplFileName", GetToken(Param(s, "ApplFileName"), 0, ".") + ".hex");
}

// Everything the release does before the conservation files: the names customer group
// "021" copies checked, the DAB file prepared for the series tools (unless the job uses
// none), the release folders set, the integration files copied ("021") and the release
// batch written. Returns whether series tools were used.
bool PrepareRelease(Session& s, ReleaseFolders& folders) {
  if (s.job.ReleasesIntegrationFiles()) CheckIntegrationNames(s);
  bool seriesTools = false;
  if (s.job.RunsSeriesTools()) seriesTools = PrepareSeriesTools(s, folders);
  SetReleaseFolders(s, seriesTools, folders);
  if (s.job.ReleasesIntegrationFiles()) CopyIntegrationFiles(s, folders);
  WriteReleaseBatch(s, folders);
  return seriesTools;
}

}  // namespace

void RunSequence(Session& s, MainWindow& window) {
  ReleaseFolders folders;
  bool seriesTools = false;
  if (s.job.RunsSeriesTools() && !s.job.ReleasesIntegrationFiles() &&
      !window.BatDirectory.empty()) {
    CheckReleasePath(s, CollectionBatchPath(window));
  }
  try {
    seriesTools = PrepareRelease(s, folders);
    if (!seriesTools || s.job.ReleasesIntegrationFiles()) {
      s.ui.MsgBox("Batchfile -> " + folders.PathFreig + "\\ParaSerie.bat" + " angelegt!", 0,
                  "Hinweis");
    } else {
      s.job.FlgTuningS = Param(s, "FlgTuningS");
      s.state.DabFilePath = WriteConservationFiles(s, s.state.DabFilePath, s.state.DabNewName);
    }
  } catch (const CommandEnded&) {
    s.ui.SetBusy(false);
    return;
  } catch (const Error& e) {
    ErrorEnd(s, UnexpectedErrorText(e), EndStyle::Box(16), "Abbruch");
  }
  s.ui.SetBusy(false);
  if (seriesTools && !s.job.ReleasesIntegrationFiles()) RunCollectionBatchStep(s, window);
  TerminateRun(s, "Quenda ist beendet!", EndStyle::Box(0), "Fertig", kExitSuccess);
}

}  // namespace quenda
