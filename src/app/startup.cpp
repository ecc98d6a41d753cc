#include "app/startup.h"

#include "base/error.h"
#include "platform/file_lock.h"
#include "session/session.h"
#include "text/cp1252.h"
#include "text/tokens.h"

namespace quenda {
namespace {

bool Exists(Session& s, const std::string& path, bool folder) {
  return folder ? s.files.FolderExists(path) : s.files.FileExists(path);
}

// Opens the run log: the common name, or while another running Quenda holds it or the file
// there is none of this user's to write (a link, a device, another user's file), a log of
// this run's own, named by its process; returns what was refused, for the log. A file that
// cannot be created names the temporary folder and where it comes from, which is what the
// user has to mend; a refused file of the run's own name is named itself.
std::string OpenRunLog(Session& s) {
  s.state.LaufLogName = "RizaZizi.log";
  s.state.LaufLogFile = s.env.TempDir + s.state.LaufLogName;
  std::string refused;
  std::string ownRefused;
  try {
    if (s.log.OpenHeld(s.files, s.state.LaufLogFile, &refused)) return {};
    s.state.LaufLogFile = s.env.TempDir + "RizaZizi_" + std::to_string(CurrentProcessId()) + ".log";
    if (s.log.OpenHeld(s.files, s.state.LaufLogFile, &ownRefused)) return refused;
    if (ownRefused.empty()) throw PlatformError(kErrPermissionDenied, s.state.LaufLogFile);
  } catch (const Error& e) {
    throw Error(e.Number(), "Der temporäre Ordner "_cp + s.env.TempDir + " (" +
                                s.site.TempDirSource +
                                ") fehlt oder ist nicht beschreibbar: " + e.Description());
  }
  throw Error(kErrPermissionDenied, "Kein Laufprotokoll im temporären Ordner "_cp + s.env.TempDir +
                                        " (" + s.site.TempDirSource + "): " + ownRefused);
}

std::string DecideProjectDriveRoot(Session& s) {
  if (s.files.FolderExists(s.site.LocalTestDir)) return s.site.ProjectDrive;
  // After a failed check the root is the text "Error": the patch explanation file's path
  // begins with the root.
  return Check_laufwerk(s, s.site.ProjectShareRoot + "\\", s.site.ProjectDrive, "LC_Tests\\prg\\")
      .value_or("Error");
}

}  // namespace

std::string FormatAppVersion(int major, int minor, int revision) {
  return std::to_string(major) + "." + std::to_string(minor) + std::to_string(revision);
}

std::string AppVersionText() {
  return FormatAppVersion(QUENDA_VERSION_MAJOR, QUENDA_VERSION_MINOR, QUENDA_VERSION_REVISION);
}

void Main(Session& s) {
  s.env.AppVersionText = AppVersionText();
  s.env.StartTime = std::filesystem::file_time_type::clock::now();
  s.env.TempDir = s.site.TempDir;
  const std::string refusedLog = OpenRunLog(s);
  // The run's own files, which a plan of the run writes as well: its log and where the
  // log goes at the end, and the trace of its command line.
  s.files.KeepOnDisk(s.state.LaufLogFile);
  s.files.KeepOnDisk(s.state.AktDirName + s.state.LaufLogName);
  s.files.KeepOnDisk(s.site.ProfileDir + "\\xx.txt");
  // The own logs of runs that were killed: none holds them any more.
  if (!s.files.Planning()) RemoveUnheldFiles(s.files.Native(s.env.TempDir), "RizaZizi_", ".log");
  s.WriteLogLine("DAM-S-QUENDA-STARTED V" + s.env.AppVersionText);
  s.WriteLogLine("Temp-Directory = " + s.env.TempDir);
  if (!refusedLog.empty()) {
    s.WriteLogLine("Laufprotokoll " + s.state.LaufLogFile + " statt " + s.env.TempDir +
                   s.state.LaufLogName + ": " + refusedLog);
  }
  s.env.WindowsDir = s.site.WindowsDir;
  s.WriteLogLine("Windows-Directory = " + s.env.WindowsDir);
  s.env.IniFilePath = s.env.WindowsDir + "\\Varnoth.ini";
  const std::string commandText = s.env.CommandFieldsText();
  s.env.ProjectDriveRoot = DecideProjectDriveRoot(s);
  s.files.WriteLines(s.site.ProfileDir + "\\xx.txt", {commandText});
  s.env.CommandFields = s.env.CommandLineFields();
}

std::optional<std::string> Check_laufwerk(Session& s, const std::string& uncRoot,
                                          const std::string& driveRoot,
                                          const std::string& subPath) {
  try {
    const bool folder = !subPath.empty() && subPath.back() == '\\';
    if (Exists(s, uncRoot + subPath, folder)) return uncRoot;
    if (!Exists(s, driveRoot + subPath, folder)) {
      s.ui.MsgBox("Das Laufwerk " + driveRoot + " ist nicht, oder nicht korrekt verbunden:\r\n" +
                  driveRoot + subPath + "\r\nkonnte nicht gefunden werden!\r\n" +
                  "Bitte sofort verbinden, sonst kann nicht korrekt gearbeitet werden!");
    }
    return driveRoot;
  } catch (const Error& e) {
    s.ui.MsgBox("Der Check von " + uncRoot + ", " + driveRoot + ", " + subPath + "\r\n" +
                "führte zu dem Fehler "_cp + std::to_string(e.Number()) + ", " + e.Description() +
                "\r\nin Check_laufwerk");
    return std::nullopt;
  }
}

}  // namespace quenda
