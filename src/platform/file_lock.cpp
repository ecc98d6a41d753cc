#include "platform/file_lock.h"

#include <mutex>

#include "platform/held_file.h"

namespace quenda {
namespace {

std::mutex probeMutex;
std::function<void()> probe;

}  // namespace

void SetProbeBetweenOpenAndLock(std::function<void()> newProbe) {
  const std::lock_guard<std::mutex> lock(probeMutex);
  probe = std::move(newProbe);
}

void RunProbeBetweenOpenAndLock() {
  std::function<void()> current;
  {
    const std::lock_guard<std::mutex> lock(probeMutex);
    current = probe;
  }
  if (current) current();
}

void RemoveUnheldFiles(const std::filesystem::path& folder, const std::string& prefix,
                       const std::string& suffix) {
  RemoveUnheldFilesWhere(folder, [&](const std::string& name) {
    return name.size() >= prefix.size() + suffix.size() && name.starts_with(prefix) &&
           name.ends_with(suffix);
  });
}

}  // namespace quenda
