#include "platform/file_lock.h"

#include <mutex>

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

}  // namespace quenda
