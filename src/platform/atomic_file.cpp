#include "platform/atomic_file.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <system_error>
#include <thread>

#include "base/error.h"
#include "platform/file_errors.h"
#include "platform/native_path.h"
#include "platform/own_file.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

// The temporary files of replacing `target`: "." + its name + ".tmp" + a number.
std::string TempPrefixFor(const fs::path& target) {
  return "." + PathText(target.filename()) + ".tmp";
}

fs::path TempNameFor(const fs::path& target) {
  static std::mt19937_64 rng{std::random_device{}()};
  const std::string name = TempPrefixFor(target) + std::to_string(rng() % 1000000000);
  return target.parent_path() / NativePath(name);
}

// Removes what a replace of `target` that was killed or cut off by a power failure left:
// its temporary files that no writer holds. A run replacing the file right now holds its
// own, so a clock running behind or a long replace costs nothing. Failures are of no
// concern to the replace that follows.
void RemoveUnheldTempFiles(const fs::path& target) {
  const std::string prefix = TempPrefixFor(target);
  RemoveUnheldFilesWhere(target.parent_path(), [&](const std::string& name) {
    return name.size() > prefix.size() && name.starts_with(prefix) &&
           name.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
  });
}

}  // namespace

AtomicFile::AtomicFile(const Files& files, const std::string& path)
    : AtomicFile(files, path, files.Native(path)) {}

AtomicFile::AtomicFile(const Files& files, const std::string& path, const fs::path& native)
    : files_(files),
      path_(path),
      target_(CheckedWriteTarget(native, path, LinkRule::kProtectedLinks)) {
  std::error_code ec;
  const auto status = fs::status(target_, ec);
  if (!ec && fs::exists(status) &&
      (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
    throw PlatformError(kErrPermissionDenied, path);  // a read-only file stays as it is
  }
  if (files.PlanFor(path) != nullptr) {
    // Planned: the bytes stay in memory, the checks of a replace are made all the same.
    if (!files.NativeFolderExists(target_.parent_path())) {
      throw CreateError(std::make_error_code(std::errc::no_such_file_or_directory), path);
    }
    planned_ = std::string();
    return;
  }
  RemoveUnheldTempFiles(target_);
  for (int attempt = 0; attempt < 10; ++attempt) {
    temp_ = TempNameFor(target_);
    ec = held_.Create(temp_, target_);
    if (!IsNameTaken(ec)) break;
  }
  if (ec) {
    temp_.clear();
    throw CreateError(ec, path);
  }
  if (files.Fingerprinting()) digest_ = std::make_unique<Sha256>();
}

AtomicFile::~AtomicFile() {
  held_.Close();
  if (!temp_.empty()) {
    std::error_code ec;
    fs::remove(temp_, ec);
  }
}

void AtomicFile::Write(const std::string& bytes) {
  if (planned_) {
    planned_->append(bytes);
    return;
  }
  const WriteLimit limit = Pass(WriteStep::kWrite);
  const std::size_t allowed = std::min(limit.bytes, bytes.size());
  if (std::fwrite(bytes.data(), 1, allowed, held_.Stream()) != allowed) {
    whole_ = false;
    throw LastFileError(path_);
  }
  if (allowed < bytes.size()) {
    whole_ = false;
    throw PlatformError(limit.error, path_);
  }
  if (digest_) digest_->Add(bytes);
  bytes_ += bytes.size();
  written_.reset();  // a write after a copy: the copy's fingerprint is not the file's
}

std::optional<FileDigest> AtomicFile::CopyFrom(const std::string& source,
                                               const fs::path& sourceNative) {
  if (planned_) {
    *planned_ = files_.ReadAll(source);  // fingerprinted there when the record awaits it
    return std::nullopt;
  }
  // The system's copy cannot be cut at a byte: cut short, it fails before it starts.
  const WriteLimit limit = Pass(WriteStep::kWrite);
  if (limit.bytes != SIZE_MAX) {
    whole_ = false;
    throw PlatformError(limit.error, path_);
  }
  FileDigest digest;
  const std::error_code ec = held_.CopyFrom(sourceNative, digest_ ? &digest : nullptr);
  if (!ec) {
    if (!digest_) return std::nullopt;
    // The copy is the source's bytes when it has their number; a source that changed
    // while it was copied leaves the copy to be fingerprinted on its own.
    std::error_code sizeError;
    if (fs::file_size(temp_, sizeError) == digest.bytes && !sizeError) written_ = digest;
    digest_.reset();
    return digest;
  }
  whole_ = false;
  std::error_code ignored;
  if (!fs::exists(sourceNative, ignored)) throw ReadOpenError(ec, sourceNative, source);
  throw FileError(ec, path_);
}

void AtomicFile::Commit() {
  if (planned_) {
    files_.PutPlanned(path_, std::move(*planned_), false);
    planned_.reset();
    return;
  }
  Pass(WriteStep::kFlush);
  std::error_code ec = held_.Flush();
  if (ec) throw FileError(ec, path_);
  Pass(WriteStep::kRename);
  // On Windows a file that another program (another run) is reading at this moment
  // cannot be replaced; such reads are short, so the rename is tried again for a second.
  for (int attempt = 0; attempt < 50; ++attempt) {
    ec = held_.RenameOnto(target_);
    if (ec != std::errc::permission_denied) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (ec) throw FileError(ec, path_);
  temp_.clear();
  held_.Close();
  if (digest_) written_ = FileDigest{bytes_, digest_->HexDigest()};
  files_.NoteWritten(path_, written_);
  if (WriteMonitor* monitor = files_.Monitor()) monitor->Note(path_, WriteStep::kFlushFolder);
  ec = FlushFolder(target_.parent_path());
  if (ec) throw FileError(ec, path_);
}

}  // namespace quenda
