#include "platform/mapped_file.h"

#include <sys/mman.h>

#include <cstdio>

#include "platform/files.h"
#include "platform/input_file.h"

namespace quenda {

MappedFile::MappedFile(const Files& files, const std::string& path) {
  const RegularInputFile file(files.Native(path), path);
  // The kernel's files that claim to be empty are read instead.
  if (file.Size() == 0) {
    ReadInstead(files, path);
    return;
  }
  const auto size = static_cast<std::size_t>(file.Size());
  void* view = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, ::fileno(file.Stream()), 0);
  if (view == MAP_FAILED) {
    ReadInstead(files, path);
    return;
  }
  mapping_ = view;
  data_ = static_cast<const char*>(view);
  size_ = size;
}

void MappedFile::Unmap() noexcept { ::munmap(mapping_, size_); }

}  // namespace quenda
