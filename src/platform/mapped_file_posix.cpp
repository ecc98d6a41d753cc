#include "platform/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "base/error.h"
#include "platform/files.h"

namespace quenda {
namespace {

struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

Error OpenError(const std::string& path) {
  return FileError(std::error_code(errno, std::generic_category()), path);
}

}  // namespace

MappedFile::MappedFile(const Files& files, const std::string& path) {
  const std::filesystem::path native = files.Native(path);
  const Descriptor file{::open(native.c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.fd < 0) {
    throw ReadOpenError(std::error_code(errno, std::generic_category()), native, path);
  }
  struct stat info {};
  if (::fstat(file.fd, &info) != 0) throw OpenError(path);
  if (S_ISDIR(info.st_mode)) throw PlatformError(kErrPathFileAccess, path);
  // Devices, pipes and the kernel's files that claim to be empty are read instead.
  if (!S_ISREG(info.st_mode) || info.st_size == 0) {
    ReadInstead(files, path);
    return;
  }
  const auto size = static_cast<std::size_t>(info.st_size);
  void* view = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file.fd, 0);
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
