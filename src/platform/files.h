// File services on Windows path texts (CP1252). Every OS failure becomes an Error with
// the platform's number and German text, naming the path. Files that users care about
// are replaced atomically: a failure leaves the old file untouched.
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

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/error.h"
#include "platform/drive_map.h"
#include "platform/held_file.h"

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

  // True when both paths name the same existing file.
  bool SameFile(const std::string& a, const std::string& b) const;

  // Copies `from` onto `to`, replacing it atomically and durably. The system copies the
  // bytes into the temporary file of the replace (see HeldFile::CopyFrom), so memory does not
  // grow with the file. Throws 53 (naming `from`) when `from` is missing.
  void CopyFile(const std::string& from, const std::string& to) const;
  // Throws 53 when the file is missing.
  void DeleteFile(const std::string& path) const;
  // Creates one folder level; throws 76 when the parent does not exist.
  void CreateFolder(const std::string& path) const;
  // Clears read-only (and on Windows hidden/system) attributes.
  void ResetAttributes(const std::string& path) const;

  // The whole file as bytes; throws 53 when missing, 75 for a folder, FIFO or device
  // (see platform/input_file.h).
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

  // The steps of writing a file, in the order a replace takes them (its data written or
  // copied, flushed to the disk, the rename onto the target, the flush of the folder); an
  // append is one step, its flush another. All but the folder's flush are write points.
  enum class WriteStep { kWrite, kFlush, kRename, kFlushFolder, kAppend };

  // Test switch: the `n`-th write point from now on fails with the platform error `number`
  // (61 disk full, 70 permission denied). 0 switches it off.
  void FailNthWrite(int n, int number) {
    ShortenNthWrite(n, 0, number);
    faultShort_ = false;
  }
  // Test switch: the `n`-th write point from now on writes only the first `bytes` bytes of
  // what it writes (an append's lines, a replace's data, a log line) and then fails with the
  // platform error `number`, as a disk that fills up in the middle of a write; a point that
  // writes no bytes of its own (a flush, a rename, the system's copy) fails as with
  // FailNthWrite. 0 switches it off.
  void ShortenNthWrite(int n, std::size_t bytes, int number) {
    faultAt_ = n;
    faultBytes_ = bytes;
    faultShort_ = true;
    faultNumber_ = number;
    writePoints_ = 0;
  }
  // Test switch: the process ends at once with status `status` at the `n`-th write point
  // from now on, as a kill or a power cut would end it there. 0 switches it off.
  void CrashAtNthWrite(int n, int status) {
    crashAt_ = n;
    crashStatus_ = status;
    writePoints_ = 0;
  }
  // The write points passed since the last FailNthWrite or CrashAtNthWrite.
  int WritePoints() const { return writePoints_; }
  // Test switch: from now on every step taken is recorded in Steps() as its name ("write",
  // "flush", "rename", "folder", "append"), a blank and the path.
  void RecordSteps() { recording_ = true; }
  const std::vector<std::string>& Steps() const { return steps_; }
  // Counts one write point (recorded as NoteStep records it); throws when it is the one
  // set to fail before it writes. Returns how many bytes of its write may get out: all
  // (SIZE_MAX), or those of ShortenNthWrite, after which the caller fails with
  // CutShortError(path).
  std::size_t PassWritePoint(const std::string& path, WriteStep step = WriteStep::kWrite) const;
  // The error a write cut short by ShortenNthWrite ends in.
  Error CutShortError(const std::string& path) const { return PlatformError(faultNumber_, path); }
  // Records `step` without counting a write point: the flush of the folder, after the
  // rename, when the file is replaced already.
  void NoteStep(const std::string& path, WriteStep step) const;

  // The files created, replaced or appended to through this object (paths as given), in
  // the order first written; a file deleted through it leaves the list.
  const std::vector<std::string>& Written() const { return written_; }
  void NoteWritten(const std::string& path) const;

 private:
  void WriteUnderAppendLock(const std::string& path, const std::vector<std::string>& lines,
                            bool replace) const;

  DriveMap map_;
  int faultAt_ = 0;
  std::size_t faultBytes_ = 0;
  bool faultShort_ = false;
  int faultNumber_ = 0;
  int crashAt_ = 0;
  int crashStatus_ = 0;
  mutable int writePoints_ = 0;
  bool recording_ = false;
  mutable std::vector<std::string> steps_;
  mutable std::vector<std::string> written_;
};

// Splits text into lines at CR LF, LF or CR; a last line needs no line end.
std::vector<std::string> SplitTextLines(const std::string& text);

// Maps an OS error to the platform error for `path`.
Error FileError(const std::error_code& ec, const std::string& path);
// FileError for a file `path` (native `native`) that could not be opened for reading: when
// its folder is missing as well, the error is "path not found" rather than "file not found".
Error ReadOpenError(const std::error_code& ec, const std::filesystem::path& native,
                    const std::string& path);

// Writes a file through a temporary file in the target's folder ("." + name + ".tmp" + a
// number) that replaces the target only on Commit, durably (see the top of this file).
// Dropping the object without Commit removes the temporary file. The writer holds its
// temporary file for its whole life (HeldFile); what a killed run or a power cut left
// behind is removed by the next replace of the same file, which takes only files nobody
// holds, whatever their age. The new file gets the target's permissions (Windows: its
// attributes); a target that is a symbolic link stays one: the file it points to is
// replaced, where the link rule of platform/own_file.h lets it be followed.
class AtomicFile {
 public:
  // Throws 75 "… ist keine gewöhnliche Datei" for a folder, a device, a FIFO or a socket,
  // 70 for a read-only target or a link or file that CheckedWriteTarget refuses, and what
  // creating the temporary file gives (76 for a missing folder), each naming `path`.
  AtomicFile(const Files& files, const std::string& path);
  // The same for the native path `native`, named `path` in errors.
  AtomicFile(const Files& files, const std::string& path, const std::filesystem::path& native);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(const std::string& bytes);
  void WriteLine(const std::string& line) { Write(line + "\r\n"); }
  // Fills the temporary file, before any Write, with a copy of the file `source` (native
  // `sourceNative`) made by the system. Throws 53 naming `source` when it has gone.
  void CopyFrom(const std::string& source, const std::filesystem::path& sourceNative);
  // Flushes the temporary file, renames it onto the target and flushes the folder; throws
  // the platform error naming the path when one of them fails (the target is then old,
  // or new when only the folder's flush failed).
  void Commit();
  // False once a write has failed part way: the temporary file may end in a cut line.
  bool Whole() const { return whole_; }

 private:
  const Files& files_;
  std::string path_;
  std::filesystem::path target_;
  std::filesystem::path temp_;
  HeldFile held_;
  bool whole_ = true;
};

// A text file held open for writing line by line (the run log). Each line is flushed.
class LineFile {
 public:
  LineFile() = default;
  ~LineFile() { Close(); }
  LineFile(const LineFile&) = delete;
  LineFile& operator=(const LineFile&) = delete;

  // Opens `path`, replacing earlier content, held as OpenHeld does; throws on failure,
  // also when another process holds it or the file is refused. Every line written is a
  // write point of `files` (which must outlive the open file).
  void Open(const Files& files, const std::string& path);
  // As Open, and the file stays locked against other processes until it is closed (see
  // platform/file_lock.h). False, and nothing opened, when another live process holds it,
  // or when `path` is no file of this user's (a link, not a regular file, another user's
  // file or one with a second name): then `refusal`, when given, is set to the message
  // that says so (empty for a file in use). Throws when the file cannot be created.
  bool OpenHeld(const Files& files, const std::string& path, std::string* refusal = nullptr);
  bool IsOpen() const { return file_ != nullptr; }
  // The whole file as written so far, read through the open file, not by its name (which
  // may name another file by now); throws the platform error.
  std::string Content() const;
  // Writes and flushes one line + CR LF; throws the platform error (the file stays open).
  void WriteLine(const std::string& line);
  void Close();

 private:
  const Files* files_ = nullptr;
  std::string path_;
  std::FILE* file_ = nullptr;
};

}  // namespace quenda
