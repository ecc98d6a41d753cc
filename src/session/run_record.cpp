#include "session/run_record.h"

#include <algorithm>

#include "platform/files.h"
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
  inputs_.push_back({path, role, bytes.size(), Sha256Hex(bytes)});
}

void RunRecord::NoteInputFile(const Files& files, const std::string& path, const char* role) {
  if (Known(path)) return;
  InputFile input{path, role, 0, {}};
  if (files.Map().CanResolve(path)) {
    if (const std::optional<FileDigest> digest = DigestFile(files.Native(path))) {
      input.bytes = digest->bytes;
      input.sha256 = digest->sha256;
    }
  }
  inputs_.push_back(std::move(input));
}

}  // namespace quenda
