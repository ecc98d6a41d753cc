// Turns the Windows path texts that the logic keeps ("T:\003\x.dab", "\\server\share\y")
// into native paths. Elsewhere a drive map from Config.ini [Paths] maps Windows prefixes
// to native folders. On Windows paths are used as they are; a site there has no [Paths],
// and a prefix that is configured all the same (the tests do) is redirected like elsewhere.
// A map follows the conventions of one system family, so both can be tried on either.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/system.h"

namespace quenda {

// True for "X:..." and "\\..." paths.
bool IsWindowsAbsolute(const std::string& path);

// True for a path with the prefix "\\?\" or "\\.\" (also written with "/"): Windows hands
// such a path to the device layer without its checks of names and length ("\\.\COM1",
// "\\?\T:\CON"), so it is no file path a site's tables may give.
bool HasDevicePrefix(const std::string& path);

// The German refusal of such a path, naming it: "Der Pfad >" + path + "< beginnt mit" + the
// prefixes + "und wird nicht als Dateipfad genommen".
std::string RefusedDevicePathText(const std::string& path);

// The Windows path `path` ("X:..." or "\\server\share...") with "." and ".." resolved
// lexically, as Windows resolves them: ".." at the root of the drive ("T:\") or of the share
// ("\\server\share") stays at that root, so no path leaves the drive or share it names.
// "/" counts as "\", repeated separators count once, a trailing one is kept. Any other
// path comes back as it is.
std::string NormalizeWindowsPath(const std::string& path);

class DriveMap {
 public:
  // A map with the conventions of `family` (of this program's system when not given): on
  // Windows an unmapped Windows path and every other path are used as they are.
  DriveMap() : DriveMap(NativeSystemFamily()) {}
  explicit DriveMap(SystemFamily family) : family_(family) {}

  // `prefix` is a Windows prefix ("T:", "\\quenda-fs\projekte"), `folder` a native folder.
  void Add(std::string prefix, std::filesystem::path folder);
  bool Empty() const { return entries_.empty(); }

  // The native path for `path` (CP1252). A Windows path is normalized first
  // (NormalizeWindowsPath), so it means the same folder as on Windows and never one above
  // the mapped drive or share. The longest matching prefix wins, compared
  // ignoring case; backslashes become separators; components that do not exist as written
  // are looked up ignoring case. Native absolute and relative paths are not mapped.
  // Throws Error 76 naming the path when a Windows path has no mapping (in a map of the
  // Windows family such a path is used as it is), Error 52 (RefusedDevicePathText) for a path with
  // a device prefix, on every system.
  std::filesystem::path Resolve(const std::string& path) const;

  // True when Resolve would not throw.
  bool CanResolve(const std::string& path) const;

 private:
  struct Entry {
    std::string prefix;
    std::filesystem::path folder;
  };
  const Entry* Match(const std::string& path) const;

  SystemFamily family_;
  std::vector<Entry> entries_;
};

// Follows `relative` (CP1252, "\" or "/" separated) below `base`, taking for each
// component an existing entry that differs only in letter case when the exact name does
// not exist. Components that do not exist at all are kept as written.
std::filesystem::path ResolveIgnoringCase(const std::filesystem::path& base,
                                          const std::string& relative);

}  // namespace quenda
