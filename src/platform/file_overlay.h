// The writes of a run kept in memory instead of on the disk: what a plan of the run is made
// of. A Files object that plans through an overlay (Files::PlanIn) sends every replace,
// copy, append, folder and removal here, and answers later reads and existence tests from
// it first, so that the run sees what it would have written, as a run writing to the disk
// does. The files the run keeps for itself (KeepOnDisk) are still written to the disk.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quenda {

// How a planned file would change what is on the disk.
enum class PlannedAction { kCreate, kReplace, kAppend, kUnchanged, kRemove };

struct PlannedFile {
  std::string path;                   // as the run named it first
  std::optional<std::string> before;  // the bytes on the disk; none when it is missing
  std::optional<std::string> after;   // the bytes planned; none when it would be removed
  bool appendedOnly = true;           // every write to it was an append

  PlannedAction Action() const;
  // For an append: the bytes added to `before` (empty for every other action).
  std::string Appended() const;
};

class FileOverlay {
 public:
  // The file `key` (the native path) would hold `bytes`; `disk` gives its bytes on the disk
  // (none when missing), asked only for the first write of the file.
  template <typename Disk>
  void Put(const std::string& key, const std::string& path, std::string bytes, bool append,
           Disk&& disk) {
    PlannedFile& file = Entry(key, path, disk);
    file.after = std::move(bytes);
    file.appendedOnly = file.appendedOnly && append;
  }
  // The file `key` would be removed.
  template <typename Disk>
  void Remove(const std::string& key, const std::string& path, Disk&& disk) {
    Entry(key, path, disk).after.reset();
  }
  // The planned bytes of `key`; null when the overlay holds none (the disk answers) or the
  // file would be removed (then Removed is true).
  const std::string* Planned(const std::string& key) const;
  bool Removed(const std::string& key) const;

  // The folder `key` (named `path` by the run) would be created.
  void AddFolder(const std::string& key, const std::string& path) {
    if (folders_.insert(key).second) folderOrder_.push_back(path);
  }
  bool HasFolder(const std::string& key) const { return folders_.contains(key); }
  // The folders that would be created, in the order first asked for.
  const std::vector<std::string>& Folders() const { return folderOrder_; }

  // `key` is one of the run's own files (its log, its trace): written to the disk as usual.
  void KeepOnDisk(const std::string& key) { onDisk_.insert(key); }
  bool OnDisk(const std::string& key) const { return onDisk_.contains(key); }

  // In the order first written; a file created and removed again in the same run is left out.
  std::vector<PlannedFile> Changes() const;

 private:
  template <typename Disk>
  PlannedFile& Entry(const std::string& key, const std::string& path, Disk& disk) {
    const auto [it, added] = index_.try_emplace(key, files_.size());
    if (added) files_.push_back({path, disk(), std::nullopt, true});
    return files_[it->second];
  }

  std::map<std::string, std::size_t> index_;
  std::vector<PlannedFile> files_;
  std::set<std::string> folders_;
  std::vector<std::string> folderOrder_;
  std::set<std::string> onDisk_;
};

}  // namespace quenda
