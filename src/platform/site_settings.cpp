#include "platform/site_settings.h"

#include <filesystem>

#include "base/error.h"
#include "platform/ini_file.h"
#include "platform/native_path.h"
#include "platform/system.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

void Take(const IniDocument& ini, const char* key, std::string& target) {
  if (auto value = ini.Find("Site", key)) target = *value;
}

// The Windows sites share one editor; elsewhere the user's own.
std::string DefaultEditor(System& system) {
  if (system.Family() == SystemFamily::kWindows) {
    return "N:\\programme\\tools\\Tarvell\\Notepad.exe ";
  }
  std::string editor = system.GetEnv("VISUAL");
  if (editor.empty()) editor = system.GetEnv("EDITOR");
  return editor.empty() ? std::string() : editor + " ";
}

std::string WithTrailingSeparator(std::string dir, SystemFamily family) {
  if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') dir += FolderSeparator(family);
  return dir;
}

// cmd reads a batch file in the console's code page, which only Windows can tell.
int BatchCodePage(const IniDocument& ini, System& system) {
  if (system.Family() == SystemFamily::kWindows) return system.ConsoleCodePage();
  const auto value = ini.Find("Site", "BatchCodePage");
  if (!value) return 850;
  if (value->empty() || value->size() > 5 ||
      value->find_first_not_of("0123456789") != std::string::npos) {
    return 0;
  }
  return std::stoi(*value);
}

fs::path NativeFolder(const std::string& value, const std::string& programDir) {
  const fs::path folder = NativePath(value);
  if (folder.is_absolute()) return folder.lexically_normal();
  return (NativePath(programDir) / folder).lexically_normal();
}

}  // namespace

std::string ConfigIniPath(const std::string& programDir, SystemFamily family) {
  return programDir + FolderSeparator(family) + "Config.ini";
}

SiteSettings LoadSiteSettings(const std::string& configIniContent, const std::string& programDir,
                              System& system) {
  const IniDocument ini = IniDocument::Parse(configIniContent);
  const SystemFamily family = system.Family();
  SiteSettings s;
  s.Drives = DriveMap(family);
  s.Editor = DefaultEditor(system);
  s.DecimalSeparator = system.DecimalSeparator();
  s.TempDirSource = "vom System vorgegeben";
  s.WindowsDir = system.WindowsDirectory();
  s.ProfileDir = system.GetEnv(family == SystemFamily::kWindows ? "USERPROFILE" : "HOME");
  Take(ini, "ProjectShareRoot", s.ProjectShareRoot);
  Take(ini, "ToolsShareRoot", s.ToolsShareRoot);
  Take(ini, "FlowDataNamespaceUri", s.FlowDataNamespaceUri);
  Take(ini, "ProjectDrive", s.ProjectDrive);
  Take(ini, "LocalTestDir", s.LocalTestDir);
  Take(ini, "SeriesToolsRoot", s.SeriesToolsRoot);
  Take(ini, "Editor", s.Editor);
  Take(ini, "DecimalSeparator", s.DecimalSeparator);
  // The system is asked only when the site sets none: its folder is made when asked for.
  if (ini.Find("Site", "TempDir")) {
    s.TempDirSource = "[Site] TempDir in " + ConfigIniPath(programDir, family);
    Take(ini, "TempDir", s.TempDir);
  } else {
    try {
      s.TempDir = system.TempPath();
    } catch (const Error& e) {
      s.TempDirRefused = e.Description();
    }
  }
  Take(ini, "WindowsDir", s.WindowsDir);
  Take(ini, "ProfileDir", s.ProfileDir);
  s.BatchCodePage = BatchCodePage(ini, system);
  for (std::string* dir : {&s.TempDir, &s.WindowsDir, &s.ProfileDir}) {
    if (!dir->empty() && !IsWindowsAbsolute(*dir) && !NativePath(*dir).is_absolute()) {
      *dir = PathText(NativeFolder(*dir, programDir));
    }
  }
  s.TempDir = WithTrailingSeparator(s.TempDir, family);
  for (const auto& [prefix, folder] : ini.Entries("Paths")) {
    s.Drives.Add(prefix, NativeFolder(folder, programDir));
  }
  return s;
}

}  // namespace quenda
