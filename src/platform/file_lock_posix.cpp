#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_lock.h"
#include "platform/held_file_posix.h"

namespace quenda {
namespace {

// Closes `fd` and gives `result` with errno kept.
LockedOpen CloseWith(int fd, LockedOpen result) {
  const int error = errno;
  close(fd);
  errno = error;
  return result;
}

// Opens `path` for the run log: no link followed, no FIFO waited for, and only a regular
// file of this user's with one name kept open (then blocking again). -1 and `result` set
// otherwise.
int OpenOwnRegular(const std::filesystem::path& path, LockedOpen& result) {
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
  if (fd < 0) {
    // What is there tells a refusal from a failure: a kernel may refuse another user's link
    // in a sticky folder with EACCES rather than ELOOP.
    const int error = errno;
    struct stat there {};
    if (lstat(path.c_str(), &there) != 0) {
      result = LockedOpen::kFailed;
    } else if (!S_ISREG(there.st_mode)) {
      result = LockedOpen::kNotRegular;
    } else {
      result = there.st_uid != geteuid() ? LockedOpen::kForeign : LockedOpen::kFailed;
    }
    errno = error;
    return -1;
  }
  struct stat st {};
  const int flags = fcntl(fd, F_GETFL);
  if (fstat(fd, &st) != 0 || flags < 0) {
    result = CloseWith(fd, LockedOpen::kFailed);
    return -1;
  }
  // No name at all: removed since the open, by another run that clears the logs of killed
  // runs (this one holds no lock yet); the check after the lock opens it again.
  if (!S_ISREG(st.st_mode) || st.st_uid != geteuid() || st.st_nlink > 1) {
    close(fd);
    result = S_ISREG(st.st_mode) ? LockedOpen::kForeign : LockedOpen::kNotRegular;
    return -1;
  }
  if (fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    result = CloseWith(fd, LockedOpen::kFailed);
    return -1;
  }
  return fd;
}

}  // namespace

LockedOpen OpenHeldFile(const std::filesystem::path& path, std::FILE*& file) {
  // Every retry follows a move by the file's holder at its end of run, so a few suffice.
  for (int attempt = 0; attempt < 100; ++attempt) {
    // Open for reading as well: the end of the run copies the log through this handle.
    LockedOpen refused = LockedOpen::kFailed;
    const int fd = OpenOwnRegular(path, refused);
    if (fd < 0) return refused;
    RunProbeBetweenOpenAndLock();
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      return CloseWith(fd, errno == EWOULDBLOCK ? LockedOpen::kInUse : LockedOpen::kFailed);
    }
    if (!StillAtPath(fd, path)) {
      close(fd);
      continue;
    }
    // Emptied only once held: the file of a live run is never cut.
    if (ftruncate(fd, 0) != 0) return CloseWith(fd, LockedOpen::kFailed);
    file = fdopen(fd, "wb");
    if (file == nullptr) return CloseWith(fd, LockedOpen::kFailed);
    return LockedOpen::kOpened;
  }
  errno = EBUSY;
  return LockedOpen::kInUse;
}

bool ReadHeldFile(std::FILE* file, std::string& content) {
  if (std::fflush(file) != 0) return false;
  const int fd = fileno(file);
  content.clear();
  char buffer[65536];
  for (;;) {
    const ssize_t n = pread(fd, buffer, sizeof buffer, static_cast<off_t>(content.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    content.append(buffer, static_cast<std::size_t>(n));
  }
}

bool LockForAppend(std::FILE* file) {
  int result;
  do {
    result = flock(fileno(file), LOCK_EX);
  } while (result != 0 && errno == EINTR);
  // A file system without locks (NFS without its lock service) refuses every one.
  return result == 0 || errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOTSUP;
}

bool EmptyLockedFile(std::FILE* file) {
  return std::fflush(file) == 0 && ftruncate(fileno(file), 0) == 0;
}

unsigned long CurrentProcessId() { return static_cast<unsigned long>(getpid()); }

}  // namespace quenda
