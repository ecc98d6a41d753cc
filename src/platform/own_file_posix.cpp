#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files.h"
#include "platform/own_file.h"
#include "text/cp1252.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

// The folder that holds the name `at`, as the kernel's link rules see it.
struct Folder {
  bool shared = false;  // sticky and writable by everybody
  uid_t owner = 0;
};

Folder FolderOf(const fs::path& at) {
  const fs::path parent = at.parent_path();
  struct stat st {};
  Folder folder;
  if (stat(parent.empty() ? "." : parent.c_str(), &st) != 0) return folder;
  folder.shared = S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX) != 0 && (st.st_mode & S_IWOTH) != 0;
  folder.owner = st.st_uid;
  return folder;
}

// Throws when the regular file `st` at a name in `folder` may not be written by this user.
// A second name in a shared folder is refused whoever owns the file: a link to one of this
// user's own files made there by another would let a write reach that file.
void CheckOwner(const struct stat& st, const Folder& folder, const std::string& path) {
  if (!folder.shared) return;
  if (st.st_nlink > 1) {
    throw RefusedFileError(path,
                           "hat einen weiteren Namen (harte Verknüpfung) in einem Ordner, "
                           "den alle beschreiben dürfen"_cp);
  }
  if (st.st_uid != geteuid() && st.st_uid != folder.owner) {
    throw RefusedFileError(path, "gehört einem anderen Benutzer (uid "_cp +
                                     std::to_string(st.st_uid) +
                                     ") in einem Ordner, den alle beschreiben dürfen"_cp);
  }
}

}  // namespace

fs::path CheckedWriteTarget(const fs::path& native, const std::string& path, LinkRule rule) {
  constexpr int kMaxLinks = 40;  // as the kernel allows
  struct stat st {};
  // What the name ends in, also through links of /proc such as /dev/stdout.
  if (stat(native.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) throw NotRegularFileError(path);
  fs::path at = native;
  for (int hop = 0; hop <= kMaxLinks; ++hop) {
    if (lstat(at.c_str(), &st) != 0) return at;  // a new file; creating it tells what fails
    const Folder folder = FolderOf(at);
    if (!S_ISLNK(st.st_mode)) {
      if (!S_ISREG(st.st_mode)) throw NotRegularFileError(path);
      CheckOwner(st, folder, path);
      return at;
    }
    if (rule == LinkRule::kNoLinks) {
      throw RefusedFileError(path, "ist eine symbolische Verknüpfung"_cp);
    }
    if (folder.shared && st.st_uid != geteuid() && st.st_uid != folder.owner) {
      throw RefusedFileError(path,
                             "ist eine symbolische Verknüpfung eines anderen Benutzers (uid "_cp +
                                 std::to_string(st.st_uid) +
                                 ") in einem Ordner, den alle beschreiben dürfen"_cp);
    }
    std::error_code ec;
    const fs::path next = fs::read_symlink(at, ec);
    if (ec) return at;  // gone meanwhile: the open refuses what is there now
    at = next.is_absolute() ? next : at.parent_path() / next;
  }
  throw PlatformError(kErrPathFileAccess, path);
}

std::FILE* OpenForAppend(const fs::path& native, const std::string& path) {
  const fs::path target = CheckedWriteTarget(native, path, LinkRule::kProtectedLinks);
  // O_NONBLOCK: a FIFO put there meanwhile is opened at once, and refused below.
  const int fd =
      open(target.c_str(), O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) {
    // A link or a node put there since the check (a kernel may refuse another user's link
    // in a sticky folder with EACCES rather than ELOOP).
    const int error = errno;
    struct stat there {};
    if (lstat(target.c_str(), &there) == 0 && S_ISLNK(there.st_mode)) {
      throw RefusedFileError(path, "ist eine symbolische Verknüpfung"_cp);
    }
    if (error == ENXIO) throw NotRegularFileError(path);
    errno = error;
    return nullptr;
  }
  struct stat st {};
  const int flags = fcntl(fd, F_GETFL);
  try {
    if (fstat(fd, &st) != 0 || flags < 0) throw PlatformError(kErrPathFileAccess, path);
    if (!S_ISREG(st.st_mode)) throw NotRegularFileError(path);
    CheckOwner(st, FolderOf(target), path);
  } catch (const Error&) {
    close(fd);
    throw;
  }
  std::FILE* file = fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0 ? fdopen(fd, "a+b") : nullptr;
  if (file == nullptr) {
    const int error = errno;
    close(fd);
    errno = error;
  }
  return file;
}

std::error_code WriteToFile(std::FILE* file, const char* data, std::size_t size,
                            std::size_t& written) {
  written = 0;
  while (written < size) {
    const ssize_t n = write(fileno(file), data + written, size - written);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::error_code(errno, std::generic_category());
    if (n == 0) return std::make_error_code(std::errc::no_space_on_device);
    written += static_cast<std::size_t>(n);
  }
  return {};
}

bool SizeOfFile(std::FILE* file, std::uint64_t& size) {
  struct stat st {};
  if (fstat(fileno(file), &st) != 0) return false;
  size = static_cast<std::uint64_t>(st.st_size);
  return true;
}

bool ReadFileAt(std::FILE* file, std::uint64_t offset, char* buffer, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n =
        pread(fileno(file), buffer + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::error_code CutFileTo(std::FILE* file, std::uint64_t size) {
  int result;
  do {
    result = ftruncate(fileno(file), static_cast<off_t>(size));
  } while (result != 0 && errno == EINTR);
  return result == 0 ? std::error_code() : std::error_code(errno, std::generic_category());
}

void MakePrivateFolder(const fs::path& native, const std::string& path) {
  if (mkdir(native.c_str(), 0700) != 0 && errno != EEXIST) {
    const Error cause = FileError(std::error_code(errno, std::generic_category()), path);
    throw Error(cause.Number(), "Der private temporäre Ordner "_cp + path +
                                    " kann nicht angelegt werden: " + cause.Description());
  }
  struct stat st {};
  std::string wrong;
  if (lstat(native.c_str(), &st) != 0) {
    wrong = "fehlt";
  } else if (S_ISLNK(st.st_mode)) {
    wrong = "ist eine symbolische Verknüpfung"_cp;
  } else if (!S_ISDIR(st.st_mode)) {
    wrong = "ist kein Ordner";
  } else if (st.st_uid != geteuid()) {
    wrong = "gehört einem anderen Benutzer (uid "_cp + std::to_string(st.st_uid) + ")";
  } else if ((st.st_mode & 077) != 0 && chmod(native.c_str(), 0700) != 0) {
    wrong = "ist für andere Benutzer offen und lässt sich nicht schließen"_cp;
  }
  if (!wrong.empty()) {
    throw Error(kErrPermissionDenied, "Der private temporäre Ordner "_cp + path + " " + wrong);
  }
}

}  // namespace quenda
