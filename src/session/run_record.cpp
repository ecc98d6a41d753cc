#include "session/run_record.h"

#include <algorithm>

#include "platform/sha256.h"
#include "platform/utc_time.h"

namespace quenda {

RunRecord::RunRecord() : startedAt_(UtcNowText()) {}

bool RunRecord::Known(const std::string& path) const {
  return std::any_of(inputs_.begin(), inputs_.end(),
                     [&](const InputFile& input) { return input.path == path; });
}

void RunRecord::NoteInput(const std::string& path, const char* role, std::string_view bytes) {
  if (Known(path)) return;
  inputs_.push_back({path, role, bytes.size(), Wanted() ? Sha256Hex(bytes) : std::string()});
}

void RunRecord::NoteInput(const std::string& path, const char* role, const FileDigest& digest) {
  if (Known(path)) return;
  inputs_.push_back({path, role, digest.bytes, digest.sha256});
}

void RunRecord::AwaitInput(const std::string& path, const char* role) {
  if (Known(path)) return;
  inputs_.push_back({path, role, 0, {}});
  files.AwaitRead(path);
}

std::vector<InputFile> RunRecord::Inputs() const {
  std::vector<InputFile> inputs = inputs_;
  for (InputFile& input : inputs) {
    if (!input.sha256.empty()) continue;
    if (const std::optional<FileDigest> digest = files.Read(input.path)) {
      input.bytes = digest->bytes;
      input.sha256 = digest->sha256;
    }
  }
  return inputs;
}

}  // namespace quenda
