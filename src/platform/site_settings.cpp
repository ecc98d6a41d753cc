#include "platform/site_settings.h"

#include <filesystem>

#include "base/error.h"
#include "platform/code_page.h"
#include "platform/ini_file.h"
#include "platform/native_path.h"
#include "platform/system.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

void Take(const IniDocument& ini, const char* key, std::string& target) {
  if (auto value = ini.Find("Site", key)) target = *value;
}

std::string DefaultEditor(System& system) {
#ifdef _WIN32
  (void)system;
  return "N:\\programme\\tools\\Tarvell\\Notepad.exe ";
#else
  std::string editor = system.GetEnv("VISUAL");
  if (editor.empty()) editor = system.GetEnv("EDITOR");
  return editor.empty() ? std::string() : editor + " ";
#endif
}

std::string WithTrailingSeparator(std::string dir) {
#ifdef _WIN32
  const char separator = '\\';
#else
  const char separator = '/';
#endif
  if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') dir += separator;
  return dir;
}

int BatchCodePage(const IniDocument& ini) {
#ifdef _WIN32
  (void)ini;
  return SystemConsoleCodePage();
#else
  const auto value = ini.Find("Site", "BatchCodePage");
  if (!value) return 850;
  if (value->empty() || value->size() > 5 ||
      value->find_first_not_of("0123456789") != std::string::npos) {
    return 0;
  }
  return std::stoi(*value);
#endif
}

fs::path NativeFolder(const std::string& value, const std::string& programDir) {
  const fs::path folder = NativePath(value);
  if (folder.is_absolute()) return folder.lexically_normal();
  return (NativePath(programDir) / folder).lexically_normal();
}

}  // namespace

std::string ConfigIniPath(const std::string& programDir) {
#ifdef _WIN32
  return programDir + "\\Config.ini";
#else
  return programDir + "/Config.ini";
#endif
}

SiteSettings LoadSiteSettings(const std::string& configIniContent, const std::string& programDir,
                              System& system) {
  const IniDocument ini = IniDocument::Parse(configIniContent);
  SiteSettings s;
  s.Editor = DefaultEditor(system);
  s.DecimalSeparator = system.DecimalSeparator();
  s.TempDirSource = "vom System vorgegeben";
  s.WindowsDir = system.WindowsDirectory();
  s.ProfileDir = system.GetEnv(
#ifdef _WIN32
      "USERPROFILE"
#else
      "HOME"
#endif
  );
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
    s.TempDirSource = "[Site] TempDir in " + ConfigIniPath(programDir);
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
  s.BatchCodePage = BatchCodePage(ini);
  for (std::string* dir : {&s.TempDir, &s.WindowsDir, &s.ProfileDir}) {
    if (!dir->empty() && !IsWindowsAbsolute(*dir) && !NativePath(*dir).is_absolute()) {
      *dir = PathText(NativeFolder(*dir, programDir));
    }
  }
  s.TempDir = WithTrailingSeparator(s.TempDir);
  for (const auto& [prefix, folder] : ini.Entries("Paths")) {
    s.Drives.Add(prefix, NativeFolder(folder, programDir));
  }
  return s;
}

}  // namespace quenda
