#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/files.h"
#include "platform/input_file.h"

namespace quenda {

RegularInputFile::RegularInputFile(const std::filesystem::path& native, const std::string& path)
    : path_(path) {
  // Without O_NONBLOCK opening a FIFO waits for a writer, which may never come.
  const int fd = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw ReadOpenError(std::error_code(errno, std::generic_category()), native, path);
  struct stat info {};
  const bool statted = ::fstat(fd, &info) == 0;
  const int error = errno;
  if (!statted || !S_ISREG(info.st_mode)) {
    ::close(fd);
    if (statted) throw NotRegularFileError(path);
    throw FileError(std::error_code(error, std::generic_category()), path);
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 ||
      (file_ = ::fdopen(fd, "rb")) == nullptr) {
    ::close(fd);
    throw PlatformError(kErrPathFileAccess, path);
  }
  size_ = info.st_size > 0 ? static_cast<std::uintmax_t>(info.st_size) : 0;
}

}  // namespace quenda
