// Site settings: Config.ini in the program folder, section [Site] for the roots and
// tools of the site, section [Paths] for the drive map. Read once at start.
#pragma once

#include <string>

#include "platform/drive_map.h"

namespace quenda {

class System;

struct SiteSettings {
  std::string ProjectShareRoot = "\\\\quenda-fs\\projekte";
  std::string ToolsShareRoot = "\\\\quenda-fs\\tools";
  std::string FlowDataNamespaceUri = "http://flow.quenda.local/namespace/FlowData";
  std::string ProjectDrive = "T:\\";
  std::string LocalTestDir = "C:\\T_lokal\\LC_Tests\\prg\\";
  std::string SeriesToolsRoot = "I:\\Programme\\Tolmek\\Freigabe\\Tools\\Kolpator";
  std::string Editor;            // the program that opens the patch explanation file
  std::string DecimalSeparator;  // the regional decimal separator
  std::string TempDir;           // ends in a separator
  std::string TempDirSource;     // where TempDir comes from, for messages (CP1252)
  // Why the system's temporary folder may not be used (then TempDir is empty): another
  // user's folder or a link where the private one belongs. A run does not start then.
  std::string TempDirRefused;
  std::string WindowsDir;  // no trailing separator
  std::string ProfileDir;
  // The code page cmd reads batch files in: the console's OEM code page on Windows,
  // [Site] BatchCodePage elsewhere (0 when that is no number: no letter beyond ASCII fits).
  int BatchCodePage = 850;
  DriveMap Drives;
};

// The program folder's Config.ini path (`programDir` + separator + "Config.ini").
std::string ConfigIniPath(const std::string& programDir);

// Reads the settings from `configIniContent` (empty when the file is missing); relative
// [Paths] folders are taken from `programDir`; what is not set comes from `system`.
SiteSettings LoadSiteSettings(const std::string& configIniContent, const std::string& programDir,
                              System& system);

}  // namespace quenda
