#include "platform/line_file.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/error.h"
#include "platform/file_lock.h"
#include "platform/own_file.h"
#include "text/cp1252.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

// What is wrong with the file at `native` that OpenHeldFile refused to hold.
std::string HeldFileRefusal(const fs::path& native, const std::string& path) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(native, ec);
  if (fs::is_symlink(status)) {
    return RefusedFileError(path, "ist eine symbolische Verknüpfung"_cp).Description();
  }
  if (!fs::is_regular_file(status)) return NotRegularFileError(path).Description();
  if (fs::hard_link_count(native, ec) > 1) {
    return RefusedFileError(path, "hat einen weiteren Namen (harte Verknüpfung)"_cp).Description();
  }
  return RefusedFileError(path, "gehört einem anderen Benutzer"_cp).Description();
}

}  // namespace

void LineFile::Open(const Files& files, const std::string& path) {
  // Held like every run log, so that it can be copied and deleted before it is closed.
  std::string refusal;
  if (OpenHeld(files, path, &refusal)) return;
  throw refusal.empty() ? PlatformError(kErrPermissionDenied, path)
                        : Error(kErrPermissionDenied, refusal);
}

bool LineFile::OpenHeld(const Files& files, const std::string& path, std::string* refusal) {
  Close();
  if (refusal != nullptr) refusal->clear();
  std::FILE* file = nullptr;
  switch (OpenHeldFile(files.Native(path), file)) {
    case LockedOpen::kInUse:
      return false;
    case LockedOpen::kNotRegular:
    case LockedOpen::kForeign:
      if (refusal != nullptr) *refusal = HeldFileRefusal(files.Native(path), path);
      return false;
    case LockedOpen::kFailed:
      throw CreateError(path);
    case LockedOpen::kOpened:
      break;
  }
  files_ = &files;
  path_ = path;
  file_ = file;
  files.NoteWritten(path);
  return true;
}

void LineFile::WriteLine(const std::string& line) {
  if (file_ == nullptr) return;
  const std::string bytes = line + "\r\n";
  const WriteLimit limit = PassWritePoint(files_->Monitor(), path_, WriteStep::kWrite);
  const std::size_t allowed = std::min(limit.bytes, bytes.size());
  if (std::fwrite(bytes.data(), 1, allowed, file_) != allowed || std::fflush(file_) != 0) {
    throw LastFileError(path_);
  }
  if (allowed < bytes.size()) throw PlatformError(limit.error, path_);
}

std::string LineFile::Content() const {
  std::string content;
  if (file_ != nullptr && !ReadHeldFile(file_, content)) throw LastFileError(path_);
  return content;
}

void LineFile::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

}  // namespace quenda
