#include "platform/file_overlay.h"

namespace quenda {

PlannedAction PlannedFile::Action() const {
  if (!after) return PlannedAction::kRemove;
  if (!before) return PlannedAction::kCreate;
  if (*before == *after) return PlannedAction::kUnchanged;
  if (appendedOnly && after->starts_with(*before)) return PlannedAction::kAppend;
  return PlannedAction::kReplace;
}

std::string PlannedFile::Appended() const {
  return Action() == PlannedAction::kAppend ? after->substr(before->size()) : std::string();
}

const std::string* FileOverlay::Planned(const std::string& key) const {
  const auto it = index_.find(key);
  if (it == index_.end()) return nullptr;
  const std::optional<std::string>& after = files_[it->second].after;
  return after ? &*after : nullptr;
}

bool FileOverlay::Removed(const std::string& key) const {
  const auto it = index_.find(key);
  return it != index_.end() && !files_[it->second].after;
}

std::vector<PlannedFile> FileOverlay::Changes() const {
  std::vector<PlannedFile> changes;
  for (const PlannedFile& file : files_) {
    if (file.before || file.after) changes.push_back(file);
  }
  return changes;
}

}  // namespace quenda
