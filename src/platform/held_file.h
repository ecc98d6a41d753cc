// The operating system's side of a durable replace (see AtomicFile in platform/files.h): the
// temporary file, created new and held against every other process for its whole life,
// filled by writes or by the system's own copy, flushed to the disk and renamed onto its
// target; the flush of the folder after the rename; and the clean-up that removes only
// temporary files nobody holds. Failures come back as error codes for the caller to name.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>

#include "platform/sha256.h"

namespace quenda {

class HeldFile {
 public:
  HeldFile() = default;
  ~HeldFile() { Close(); }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

  // Creates `path`, which must not exist, empty and open for writing, held until Close
  // (POSIX: flock; Windows: no write or delete sharing with other handles). It gets the
  // permissions (Windows: attributes) of `like` when that file exists. file_exists when the
  // name is taken, also by another run's clean-up in the instant before the file was held:
  // the caller tries another name.
  std::error_code Create(const std::filesystem::path& path, const std::filesystem::path& like);
  // Fills the created, still empty file with the bytes of `source` through the system's
  // copy (Linux copy_file_range, falling back to a buffered loop where the kernel refuses;
  // Windows CopyFileExW, which lets a file server copy on its own side). Memory does not
  // grow with the file. The file stays held, also while it is copied. With `digest` the
  // source's bytes are fingerprinted into it as well: as the buffered loop passes them
  // through, or with one read of the source after the system has copied it.
  std::error_code CopyFrom(const std::filesystem::path& source, FileDigest* digest = nullptr);

  // The stream to write to (owned by this object); null before Create or after Close.
  std::FILE* Stream() const { return file_; }
  // Writes out what the stream buffers and flushes the file's data to the disk.
  std::error_code Flush();
  // Renames the file onto `target`, replacing it (Windows: MoveFileExW written through).
  std::error_code RenameOnto(const std::filesystem::path& target);
  // Closes the file, which ends the hold; the file itself stays.
  void Close();

 private:
  std::filesystem::path path_;
  std::filesystem::path like_;
  std::FILE* file_ = nullptr;
  bool copied_ = false;  // filled by CopyFrom: on Windows the handle is the copy's
};

// Flushes the folder's list of names to the disk, so that a rename in it survives a power
// loss (POSIX fsync of the folder; Windows has written the rename through already). A file
// system that cannot flush a folder gives no error: its renames are as durable as it makes
// them.
std::error_code FlushFolder(const std::filesystem::path& folder);

// Writes out what `file` buffers and flushes its data to the disk (fsync,
// FlushFileBuffers), for an append before its lock is released.
std::error_code FlushToDisk(std::FILE* file);

// Removes the file `path` when it can be locked, that is when no process holds it as its
// HeldFile or as its run log (OpenHeldFile, platform/file_lock.h); true when removed. A file
// that is held, or that cannot be locked at all, stays; a link is never followed, and a
// FIFO is not waited for.
bool RemoveIfUnheld(const std::filesystem::path& path);

// Removes the files of `folder` whose names (as path texts, see PathText) `matches` accepts
// and that RemoveIfUnheld finds unheld. Failures are skipped.
void RemoveUnheldFilesWhere(const std::filesystem::path& folder,
                            const std::function<bool(const std::string& name)>& matches);

}  // namespace quenda
