// Input files: only a regular file is read as an input. A FIFO, a device or a folder given
// where a file is expected is refused at once by name, without waiting for a writer or for
// an end that never comes: the file is opened without blocking and its open handle checked
// (POSIX: opened with O_NONBLOCK and fstat; Windows: GetFileType must be a disk file).
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/error.h"

namespace quenda {

class Files;

// Error 75 "<path> ist größer als <limit> Bytes" for an input over its bound.
Error InputTooLargeError(const std::string& path, std::uintmax_t limit);

// True when `native` exists and is no regular file (after links); it is not opened, so
// this never blocks. Never throws.
bool IsNonRegularFile(const std::filesystem::path& native);
// The same for the Windows path text `path`; false for a path without mapping.
bool IsNonRegularFile(const Files& files, const std::string& path);

// A regular file open for reading, closed by the destructor.
class RegularInputFile {
 public:
  // Opens `native` (named `path` in errors). Throws what ReadOpenError gives when it cannot
  // be opened (53, 76, 70) and NotRegularFileError when it is no regular file.
  RegularInputFile(const std::filesystem::path& native, const std::string& path);
  ~RegularInputFile();
  RegularInputFile(const RegularInputFile&) = delete;
  RegularInputFile& operator=(const RegularInputFile&) = delete;

  // The size when opened (0 when the system does not tell).
  std::uintmax_t Size() const { return size_; }
  // The open file, owned by this object.
  std::FILE* Stream() const { return file_; }
  // Reads up to `n` bytes into `buffer`; 0 at the end. Throws 75 naming the path on failure.
  std::size_t Read(char* buffer, std::size_t n);

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
  std::uintmax_t size_ = 0;
};

// The whole input `native` (named `path` in errors) as bytes. Throws as RegularInputFile does, and
// InputTooLargeError when it holds more than `limit` bytes (a file that grows past the
// bound while it is read as well).
std::string ReadInputFile(const std::filesystem::path& native, const std::string& path,
                          std::uintmax_t limit = UINTMAX_MAX);

}  // namespace quenda
