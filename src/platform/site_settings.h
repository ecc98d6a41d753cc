// Site settings: Config.ini in the program folder, section [Site] for the roots and
// tools of the site, section [Paths] for the drive map. Read once at start.
#pragma once

#include <string>

#include "platform/drive_map.h"
#include "platform/system.h"

namespace quenda {

struct SiteSettings {
  std::string ProjectShareRoot = "\\\\quenda-fs\\projekte";
  std::string ToolsShareRoot = "\\\\quenda-fs\\tools";
  std::string FlowDataNamespaceUri = "http://flow.quenda.local/namespace/FlowData";
  std::string ProjectDrive = "T:\\";
  std::string LocalTestDir = "C:\\T_lokal\\LC_Tests\\prg\\";
  std::string SeriesToolsRoot = "I:\\Programme\\Tolmek\\Freigabe\\Tools\\Kolpator";
  // The program that opens the patch explanation file: "N:\programme\tools\Tarvell\Notepad.exe "
  // on Windows; elsewhere $VISUAL, else $EDITOR, + " " (empty when both are unset).
  std::string Editor;
  std::string DecimalSeparator;  // the regional decimal separator
  std::string TempDir;           // ends in a separator
  std::string TempDirSource;     // where TempDir comes from, for messages (CP1252)
  // Why the system's temporary folder may not be used (then TempDir is empty): another
  // user's folder or a link where the private one belongs. A run does not start then.
  std::string TempDirRefused;
  std::string WindowsDir;  // no trailing separator
  std::string ProfileDir;  // %USERPROFILE% on Windows, $HOME elsewhere
  // The code page cmd reads batch files in: the console's OEM code page on Windows,
  // [Site] BatchCodePage elsewhere (0 when that is no number: no letter beyond ASCII fits).
  int BatchCodePage = 850;
  DriveMap Drives;
};

// The program folder's Config.ini path (`programDir` + the separator of `family` +
// "Config.ini").
std::string ConfigIniPath(const std::string& programDir,
                          SystemFamily family = NativeSystemFamily());

// Reads the settings from `configIniContent` (empty when the file is missing); relative
// [Paths] folders are taken from `programDir`; what is not set comes from `system`, with
// the defaults of its family (Editor, ProfileDir, BatchCodePage, the separator TempDir gets,
// the drive map's treatment of unmapped Windows paths).
SiteSettings LoadSiteSettings(const std::string& configIniContent, const std::string& programDir,
                              System& system);

}  // namespace quenda
