// The parts of MappedFile that do not depend on the platform; the mapping itself is in
// mapped_file_posix.cpp and mapped_file_win32.cpp.
#include "platform/mapped_file.h"

#include <utility>

#include "platform/files.h"

namespace quenda {

MappedFile::~MappedFile() { Release(); }

MappedFile::MappedFile(MappedFile&& other) noexcept { *this = std::move(other); }

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this == &other) return *this;
  Release();
  mapping_ = std::exchange(other.mapping_, nullptr);
  size_ = std::exchange(other.size_, 0);
  buffer_ = std::move(other.buffer_);
  // A short buffer lives inside the string object, so its address moved with it.
  data_ = mapping_ != nullptr ? std::exchange(other.data_, nullptr) : buffer_.data();
  other.buffer_.clear();
  other.data_ = nullptr;
  return *this;
}

void MappedFile::Release() noexcept {
  if (mapping_ != nullptr) Unmap();
  mapping_ = nullptr;
  data_ = nullptr;
  size_ = 0;
  buffer_.clear();
  buffer_.shrink_to_fit();
}

void MappedFile::ReadInstead(const Files& files, const std::string& path) {
  buffer_ = files.ReadAll(path);
  data_ = buffer_.data();
  size_ = buffer_.size();
}

}  // namespace quenda
