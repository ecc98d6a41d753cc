// File services on Windows path texts (CP1252). Every OS failure becomes an Error with
// the platform's number and German text, naming the path. Files that users care about
// are replaced atomically (platform/atomic_file.h): a failure leaves the old file untouched.
//
// Durability: what a replace or an append has returned from survives a power loss or an OS
// crash. A replace writes a temporary file in the target's folder, flushes its data to the
// disk (fsync; Windows FlushFileBuffers), renames it onto the target (Windows MoveFileExW
// written through) and then flushes the folder (fsync of the folder), so the new name never
// reaches the disk before the data it names; an append flushes before its lock ends. A
// failed flush is a failed write: a file server with write-behind caching reports a full
// disk or a lost connection only there. SQLite and git flush the same way for the same
// reason: without it a renamed file can come back empty or with old blocks after a power
// loss on common file systems.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "base/error.h"
#include "platform/drive_map.h"
#include "platform/file_overlay.h"
#include "platform/file_record.h"
#include "platform/write_monitor.h"

namespace quenda {

class Files {
 public:
  explicit Files(DriveMap map = {}) : map_(std::move(map)) {}

  const DriveMap& Map() const { return map_; }

  // The native path; throws Error 76 for a Windows path without mapping.
  std::filesystem::path Native(const std::string& path) const { return map_.Resolve(path); }

  // Existence tests never throw: an unmapped or unreachable path does not exist.
  bool FileExists(const std::string& path) const;
  bool FolderExists(const std::string& path) const;
  // The same for a native path.
  bool NativeFolderExists(const std::filesystem::path& native) const;

  // True when both paths name the same existing file.
  bool SameFile(const std::string& a, const std::string& b) const;

  // Copies `from` onto `to`, replacing it atomically and durably. The system copies the
  // bytes into the temporary file of the replace (see AtomicFile::CopyFrom), so memory does not
  // grow with the file. Throws 53 (naming `from`) when `from` is missing. While the record
  // fingerprints, the source is fingerprinted once, for its read and for the copy.
  void Copy(const std::string& from, const std::string& to) const;
  // Deletes the file; throws 53 when it is missing.
  void Remove(const std::string& path) const;
  // Creates one folder level; throws 76 when the parent does not exist.
  void CreateFolder(const std::string& path) const;
  // Clears read-only (and on Windows hidden/system) attributes.
  void ResetAttributes(const std::string& path) const;

  // The whole file as bytes; throws 53 when missing, 75 for a folder, FIFO or device
  // (see platform/input_file.h). A read the record awaits is fingerprinted.
  std::string ReadAll(const std::string& path) const;
  // The lines of a text file; CR LF, LF and CR each end a line, a last line needs none.
  std::vector<std::string> ReadLines(const std::string& path) const;

  // Replaces `path` atomically and durably with `content` (bytes as given).
  void WriteAll(const std::string& path, const std::string& content) const;
  // Replaces `path` atomically with `lines`, each ended by CR LF.
  void WriteLines(const std::string& path, const std::vector<std::string>& lines) const;
  // Appends `lines` (each + CR LF) to `path`, creating it when missing, under a lock that
  // other processes appending take as well, and flushes them to the disk before the lock
  // ends. When the file does not end in CR LF, one goes before the lines (in the same
  // write), so they never continue its last line. All or nothing: a write that stops at any
  // byte, or a failed flush, cuts the file back to its size before the append (under the same
  // lock, flushed) and throws the cause (61 disk full, 70 access denied) naming `path`. The
  // file is opened as OpenForAppend opens it (platform/own_file.h).
  void AppendLines(const std::string& path, const std::vector<std::string>& lines) const;
  // Replaces the content of `path` with `lines` in place, under the lock of AppendLines and
  // flushed as it flushes: an append waiting for the lock adds to the new content instead
  // of a replaced file. A failure puts the old content back, as an append's does.
  void RewriteLines(const std::string& path, const std::vector<std::string>& lines) const;

  // Installs `monitor` (not owned; null removes it), which every write point of this object
  // and of the AtomicFile and LineFile writing through it passes (platform/write_monitor.h).
  // A run installs none.
  void Watch(WriteMonitor* monitor) { monitor_ = monitor; }
  WriteMonitor* Monitor() const { return monitor_; }

  // Keeps the files created, replaced or appended to through this object, and the
  // fingerprints it wants, in `record` (not owned; null: in none); a file deleted through
  // it leaves the record. The session keeps its run's in RunRecord for the report.
  void RecordIn(FileRecord* record) { record_ = record; }
  // True while the record wants fingerprints of what is read and written.
  bool Fingerprinting() const { return record_ != nullptr && record_->Fingerprinting(); }
  // Notes `path` (as given) as written in that record, ending as `digest` when known.
  void NoteWritten(const std::string& path, std::optional<FileDigest> digest = std::nullopt) const;

  // Sends every write, copy, append, folder creation and removal through this object, its
  // AtomicFile writers included, into `overlay` (not owned; null: to the disk again) instead
  // of the disk, and lets reads and existence tests see what the overlay holds first. The
  // checks a write makes before it writes (a refused link, a read-only file, a missing
  // folder) still throw as they would. Attributes are left as they are.
  void PlanIn(FileOverlay* overlay) { overlay_ = overlay; }
  bool Planning() const { return overlay_ != nullptr; }
  // `path` is one of the run's own files (its log, its trace): written to the disk also
  // while planning. Nothing without an overlay.
  void KeepOnDisk(const std::string& path) const;
  // The overlay that a write of `path` goes to; null when it goes to the disk.
  FileOverlay* PlanFor(const std::string& path) const;
  // Puts `bytes` as the planned content of `path` (an append when `append`), noted written
  // in the record with their fingerprint while it fingerprints. Only while PlanFor(path).
  void PutPlanned(const std::string& path, std::string bytes, bool append) const;

 private:
  // The planned content of `path`: null when the overlay holds none for it; throws 53 for
  // a file the overlay would remove.
  const std::string* PlannedContent(const std::string& path) const;

  void WriteUnderAppendLock(const std::string& path, const std::vector<std::string>& lines,
                            bool replace) const;
  void PlanUnderAppendLock(const std::string& path, const std::vector<std::string>& lines,
                           bool replace) const;

  DriveMap map_;
  WriteMonitor* monitor_ = nullptr;
  FileRecord* record_ = nullptr;
  FileOverlay* overlay_ = nullptr;
};

// Splits text into lines at CR LF, LF or CR; a last line needs no line end.
std::vector<std::string> SplitTextLines(const std::string& text);

// The bytes of the file `native` (named `path` in errors); none when nothing is there.
// Throws as ReadInputFile for a file that cannot be read.
std::optional<std::string> DiskBytes(const std::filesystem::path& native, const std::string& path);

// Maps an OS error to the platform error for `path`.
Error FileError(const std::error_code& ec, const std::string& path);
// FileError for a file `path` (native `native`) that could not be opened for reading: when
// its folder is missing as well, the error is "path not found" rather than "file not found".
Error ReadOpenError(const std::error_code& ec, const std::filesystem::path& native,
                    const std::string& path);
// FileError for a file `path` that could not be created: when its folder is missing, the
// error is "path not found". Without `ec`, for the error that errno holds.
Error CreateError(const std::error_code& ec, const std::string& path);
Error CreateError(const std::string& path);
// FileError for the error that errno holds.
Error LastFileError(const std::string& path);

}  // namespace quenda
