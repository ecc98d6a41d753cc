// A text file held open for writing line by line: the run log.
#pragma once

#include <cstdio>
#include <string>

#include "platform/files.h"

namespace quenda {

// Each line written is flushed.
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
