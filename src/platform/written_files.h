// The record of the files a run has written: created, replaced or appended to through its
// Files object, which the release report lists with their fingerprints.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace quenda {

class WrittenFiles {
 public:
  // `path` (as given) was written; a path already listed keeps its place.
  void Add(const std::string& path) {
    if (std::find(paths_.begin(), paths_.end(), path) == paths_.end()) paths_.push_back(path);
  }
  // `path` was deleted: it leaves the list.
  void Remove(const std::string& path) { std::erase(paths_, path); }
  // In the order first written.
  const std::vector<std::string>& Paths() const { return paths_; }

 private:
  std::vector<std::string> paths_;
};

}  // namespace quenda
