// File services on Windows path texts (CP1252). Every OS failure becomes an Error with
// the platform's number and German text, naming the path. Files that users care about
// are replaced atomically: a failure leaves the old file untouched.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/error.h"
#include "platform/drive_map.h"

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

  // Copies `from` onto `to`, replacing it atomically. Throws 53 when `from` is missing.
  void CopyFile(const std::string& from, const std::string& to) const;
  // Throws 53 when the file is missing.
  void DeleteFile(const std::string& path) const;
  // Creates one folder level; throws 76 when the parent does not exist.
  void CreateFolder(const std::string& path) const;
  // Clears read-only (and on Windows hidden/system) attributes.
  void ResetAttributes(const std::string& path) const;

  // The whole file as bytes; throws 53 when missing.
  std::string ReadAll(const std::string& path) const;
  // The lines of a text file; CR LF, LF and CR each end a line, a last line needs none.
  std::vector<std::string> ReadLines(const std::string& path) const;

  // Replaces `path` atomically with `content` (bytes as given).
  void WriteAll(const std::string& path, const std::string& content) const;
  // Replaces `path` atomically with `lines`, each ended by CR LF.
  void WriteLines(const std::string& path, const std::vector<std::string>& lines) const;
  // Appends `lines` (each + CR LF) to `path`, creating it when missing, under a lock that
  // other processes appending take as well. When the file does not end in CR LF, one goes
  // before the lines (in the same write), so they never continue its last line.
  void AppendLines(const std::string& path, const std::vector<std::string>& lines) const;
  // Replaces the content of `path` with `lines` in place, under the lock of AppendLines: an
  // append waiting for the lock adds to the new content instead of a replaced file.
  void RewriteLines(const std::string& path, const std::vector<std::string>& lines) const;

  // Test switch: the `n`-th write point from now on (a write into a file being replaced,
  // the rename that replaces it, an append) fails with the platform error `number`
  // (61 disk full, 70 permission denied). 0 switches it off.
  void FailNthWrite(int n, int number) {
    faultAt_ = n;
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
  // Counts one write point; throws when it is the one set to fail.
  void PassWritePoint(const std::string& path) const;

  // The files created, replaced or appended to through this object (paths as given), in
  // the order first written; a file deleted through it leaves the list.
  const std::vector<std::string>& Written() const { return written_; }
  void NoteWritten(const std::string& path) const;

 private:
  void WriteUnderAppendLock(const std::string& path, const std::vector<std::string>& lines,
                            bool replace) const;

  DriveMap map_;
  int faultAt_ = 0;
  int faultNumber_ = 0;
  int crashAt_ = 0;
  int crashStatus_ = 0;
  mutable int writePoints_ = 0;
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

// Writes a file through a temporary file in the target folder ("." + name + ".tmp" + a
// number) that replaces the target only on Commit. Dropping the object without Commit
// removes the temporary file; such files older than an hour, left by a killed run, are
// removed by the next replace of the same file.
class AtomicFile {
 public:
  AtomicFile(const Files& files, const std::string& path);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(const std::string& bytes);
  void WriteLine(const std::string& line) { Write(line + "\r\n"); }
  // Renames the temporary file onto the target; throws on failure.
  void Commit();
  // False once a write has failed part way: the temporary file may end in a cut line.
  bool Whole() const { return whole_; }

 private:
  const Files& files_;
  std::string path_;
  std::filesystem::path target_;
  std::filesystem::path temp_;
  std::FILE* file_ = nullptr;
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
  // also when another process holds it. Every line written is a write point of `files`
  // (which must outlive the open file).
  void Open(const Files& files, const std::string& path);
  // As Open, and the file stays locked against other processes until it is closed (see
  // platform/file_lock.h). False, and nothing opened, when another live process holds it.
  bool OpenHeld(const Files& files, const std::string& path);
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
