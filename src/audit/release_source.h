// The files of a release as the check reads them: Windows path texts of the report resolved
// with the drive map of the program folder, relative paths from the run's current folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/drive_map.h"

namespace quenda::audit {

class ReleaseSource {
 public:
  virtual ~ReleaseSource() = default;
  // The bytes of `path` (CP1252 path text); nullopt when it cannot be read, with the reason
  // (German, CP1252) in `why`.
  virtual std::optional<std::string> Read(const std::string& path, std::string& why) const = 0;
};

// Reads through `map`; relative and unmapped native paths from `currentDir`. A file over
// 64 MiB is refused by name.
class MappedReleaseSource : public ReleaseSource {
 public:
  MappedReleaseSource(DriveMap map, std::filesystem::path currentDir)
      : map_(std::move(map)), currentDir_(std::move(currentDir)) {}
  std::optional<std::string> Read(const std::string& path, std::string& why) const override;

 private:
  DriveMap map_;
  std::filesystem::path currentDir_;
};

// The lines of `bytes` without their CR LF (a lone LF ends a line too); `lastHasBreak` tells
// whether the last line was ended.
std::vector<std::string> SplitLines(const std::string& bytes, bool* lastHasBreak = nullptr);

// The file name of a Windows path text: what follows its last "\".
std::string FileNameOf(const std::string& path);
// The folder of a Windows path text: what precedes its last "\" (empty without one).
std::string FolderOf(const std::string& path);
// True when `text` ends with `tail`, compared ignoring case.
bool EndsWithIgnoreCase(const std::string& text, const std::string& tail);

}  // namespace quenda::audit
