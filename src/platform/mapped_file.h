// The bytes of a whole file, mapped read-only into memory where the platform allows (no
// copy, pages come straight from the file cache), read into one buffer otherwise. Used
// for inputs of hundreds of megabytes such as the object store.
//
// While mapped, the file must not be shortened by another program: on POSIX systems the
// pages beyond the new end can no longer be read (Windows refuses to shorten a mapped
// file). Growing it is harmless; the text keeps the size it had when it was opened.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quenda {

class Files;

class MappedFile {
 public:
  // The empty text.
  MappedFile() = default;
  // Opens the file `path` (a Windows path text resolved by `files`) and maps it whole.
  // Throws the platform Error naming the path as Files::ReadAll does: 53 when it is
  // missing, 76 when it has no mapping, 75 for a folder, FIFO or device (NotRegularFileError
  // of platform/input_file.h) or a failed read.
  MappedFile(const Files& files, const std::string& path);
  ~MappedFile();
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // The file's bytes; valid until the object is destroyed or assigned.
  std::string_view Text() const { return {data_, size_}; }
  // True when the bytes are mapped rather than read into a buffer of the object's own.
  bool IsMapped() const { return mapping_ != nullptr; }

 private:
  // Unmaps the view (nothing for a buffer); the object is left holding the empty text.
  void Release() noexcept;
  // Unmaps `mapping_` (not null), the platform's part of Release.
  void Unmap() noexcept;
  // Reads the file into `buffer_`, for files the platform cannot map.
  void ReadInstead(const Files& files, const std::string& path);

  const char* data_ = nullptr;
  std::size_t size_ = 0;
  void* mapping_ = nullptr;  // the mapped view, null when `buffer_` holds the bytes
  std::string buffer_;
};

}  // namespace quenda
