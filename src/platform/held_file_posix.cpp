#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/held_file.h"
#include "platform/held_file_posix.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

std::error_code Errno() { return std::error_code(errno, std::generic_category()); }

// A kernel or file system that cannot copy between these two files in the kernel says so
// with one of these; the buffered loop copies then.
bool KernelRefusesCopy(int error) {
  return error == EXDEV || error == ENOSYS || error == EOPNOTSUPP || error == EINVAL ||
         error == EPERM || error == ETXTBSY;
}

// Copies from the current positions until `in` ends, through a buffer of fixed size,
// adding what it passes through to `digest` when given.
std::error_code CopyBuffered(int in, int out, Sha256* digest) {
  std::vector<char> buffer(1 << 20);
  for (;;) {
    const ssize_t n = read(in, buffer.data(), buffer.size());
    if (n == 0) return {};
    if (n < 0) {
      if (errno == EINTR) continue;
      return Errno();
    }
    if (digest != nullptr) digest->Add({buffer.data(), static_cast<std::size_t>(n)});
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = write(out, buffer.data() + done, static_cast<std::size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w < 0) return Errno();
      done += w;
    }
  }
}

// Reads `in` from its start to its end into `digest`, in pieces of a mebibyte.
std::error_code ReadInto(int in, Sha256& digest, std::uintmax_t& bytes) {
  std::vector<char> buffer(1 << 20);
  for (off_t at = 0;;) {
    const ssize_t n = pread(in, buffer.data(), buffer.size(), at);
    if (n == 0) return {};
    if (n < 0) {
      if (errno == EINTR) continue;
      return Errno();
    }
    digest.Add({buffer.data(), static_cast<std::size_t>(n)});
    at += n;
    bytes += static_cast<std::uintmax_t>(n);
  }
}

// The kernel's copy, and the buffered loop for what the kernel refuses. With `digest`
// the source is fingerprinted: by the loop when the kernel copied nothing, else with one
// read of it afterwards.
std::error_code CopyInKernel(int in, int out, FileDigest* digest) {
  constexpr std::size_t kChunk = std::size_t{1} << 30;
  std::uintmax_t inKernel = 0;
  for (;;) {
    const ssize_t n = copy_file_range(in, nullptr, out, nullptr, kChunk, 0);
    if (n > 0) {
      inKernel += static_cast<std::uintmax_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && !KernelRefusesCopy(errno)) return Errno();
    // The end, or a refusal: the loop reads on from where the kernel stopped (at the end
    // it reads nothing), which also covers files whose size the kernel does not know.
    if (digest == nullptr) return CopyBuffered(in, out, nullptr);
    Sha256 sha;
    std::uintmax_t bytes = 0;
    std::error_code ec = CopyBuffered(in, out, inKernel == 0 ? &sha : nullptr);
    if (!ec && inKernel > 0) ec = ReadInto(in, sha, bytes);
    if (ec) return ec;
    if (inKernel == 0) bytes = static_cast<std::uintmax_t>(lseek(in, 0, SEEK_CUR));
    *digest = {bytes, sha.HexDigest()};
    return {};
  }
}

}  // namespace

bool StillAtPath(int fd, const fs::path& path) {
  struct stat opened {};
  struct stat named {};
  return fstat(fd, &opened) == 0 && lstat(path.c_str(), &named) == 0 &&
         opened.st_ino == named.st_ino && opened.st_dev == named.st_dev;
}

std::error_code HeldFile::Create(const fs::path& path, const fs::path& like) {
  Close();
  copied_ = false;
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return Errno();
  // Between the creation and the lock another run's clean-up may take the new file: then
  // it holds the lock, or the name is gone, and the caller tries another name. On a file
  // system without locks nobody can lock the file, so no clean-up removes it.
  const bool taken =
      flock(fd, LOCK_EX | LOCK_NB) != 0 ? errno == EWOULDBLOCK : !StillAtPath(fd, path);
  if (taken) {
    close(fd);
    return std::make_error_code(std::errc::file_exists);
  }
  struct stat target {};
  // A file system that keeps no modes (some shares) refuses this; the file is written anyway.
  if (stat(like.c_str(), &target) == 0) fchmod(fd, target.st_mode & 0777);
  file_ = fdopen(fd, "wb");
  if (file_ == nullptr) {
    const std::error_code ec = Errno();
    close(fd);
    return ec;
  }
  path_ = path;
  like_ = like;
  return {};
}

std::error_code HeldFile::CopyFrom(const fs::path& source, FileDigest* digest) {
  const int in = open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return Errno();
  const std::error_code ec = CopyInKernel(in, fileno(file_), digest);
  close(in);
  copied_ = !ec;
  return ec;
}

std::error_code HeldFile::Flush() { return FlushToDisk(file_); }

std::error_code HeldFile::RenameOnto(const fs::path& target) {
  return rename(path_.c_str(), target.c_str()) == 0 ? std::error_code() : Errno();
}

void HeldFile::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

std::error_code FlushFolder(const fs::path& folder) {
  const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // A folder that may be written but not read cannot be opened; nothing to flush it through.
  if (fd < 0) return {};
  std::error_code ec;
  if (fsync(fd) != 0 && errno != EINVAL && errno != EROFS && errno != ENOTSUP) ec = Errno();
  close(fd);
  return ec;
}

std::error_code FlushToDisk(std::FILE* file) {
  if (std::fflush(file) != 0) return Errno();
  int result;
  do {
    result = fsync(fileno(file));
  } while (result != 0 && errno == EINTR);
  return result == 0 ? std::error_code() : Errno();
}

bool RemoveIfUnheld(const fs::path& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  bool removed = false;
  // The name must still be the file that was locked: a writer that has just renamed it onto
  // its target releases the lock on a file that no longer has this name.
  if (flock(fd, LOCK_EX | LOCK_NB) == 0 && StillAtPath(fd, path)) {
    removed = unlink(path.c_str()) == 0;
  }
  close(fd);
  return removed;
}

}  // namespace quenda
