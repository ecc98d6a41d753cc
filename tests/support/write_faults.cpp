#include "support/write_faults.h"

#include <cstdlib>

#include "base/error.h"

namespace quenda::testing {

void WriteFaults::ShortenNthWrite(int n, std::size_t bytes, int number) {
  faultAt_ = n;
  faultBytes_ = bytes;
  faultShort_ = true;
  faultNumber_ = number;
  writePoints_ = 0;
}

void WriteFaults::CrashAtNthWrite(int n, int status) {
  crashAt_ = n;
  crashStatus_ = status;
  writePoints_ = 0;
}

void WriteFaults::Note(const std::string& path, WriteStep step) {
  static const char* const kNames[] = {"write", "flush", "rename", "folder", "append"};
  if (recording_) steps_.push_back(std::string(kNames[static_cast<int>(step)]) + " " + path);
}

WriteLimit WriteFaults::Pass(const std::string& path, WriteStep step) {
  Note(path, step);
  ++writePoints_;
  if (writePoints_ == crashAt_) std::_Exit(crashStatus_);
  if (writePoints_ != faultAt_) return {};
  // Only a write of bytes can stop part way; a flush or a rename cut short fails.
  const bool bytes = step == WriteStep::kWrite || step == WriteStep::kAppend;
  if (!faultShort_ || !bytes) throw PlatformError(faultNumber_, path);
  return {faultBytes_, faultNumber_};
}

}  // namespace quenda::testing
