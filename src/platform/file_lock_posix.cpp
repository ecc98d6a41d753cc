#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_lock.h"

namespace quenda {

LockedOpen OpenHeldFile(const std::filesystem::path& path, std::FILE*& file) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return LockedOpen::kFailed;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    close(fd);
    errno = error;
    return error == EWOULDBLOCK ? LockedOpen::kInUse : LockedOpen::kFailed;
  }
  // Emptied only once held: the file of a live run is never cut.
  if (ftruncate(fd, 0) != 0) {
    const int error = errno;
    close(fd);
    errno = error;
    return LockedOpen::kFailed;
  }
  file = fdopen(fd, "wb");
  if (file == nullptr) {
    const int error = errno;
    close(fd);
    errno = error;
    return LockedOpen::kFailed;
  }
  return LockedOpen::kOpened;
}

bool LockForAppend(std::FILE* file) {
  int result;
  do {
    result = flock(fileno(file), LOCK_EX);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

bool EmptyLockedFile(std::FILE* file) {
  return std::fflush(file) == 0 && ftruncate(fileno(file), 0) == 0;
}

unsigned long CurrentProcessId() { return static_cast<unsigned long>(getpid()); }

}  // namespace quenda
