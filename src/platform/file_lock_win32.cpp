#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>

#include "platform/file_lock.h"

namespace quenda {
namespace {

void SetErrno(DWORD error) {
  errno = error == ERROR_ACCESS_DENIED      ? EACCES
          : error == ERROR_PATH_NOT_FOUND   ? ENOENT
          : error == ERROR_FILE_NOT_FOUND   ? ENOENT
          : error == ERROR_DISK_FULL        ? ENOSPC
          : error == ERROR_HANDLE_DISK_FULL ? ENOSPC
          : error == ERROR_INVALID_NAME     ? EINVAL
                                            : EIO;
}

}  // namespace

LockedOpen OpenHeldFile(const std::filesystem::path& path, std::FILE*& file) {
  // No write sharing: a second run's open fails while this handle lives. Delete sharing
  // lets the holder remove the file at the end of the run before it lets go of it, and
  // no other open reaches a file so removed: the open is the lock, so the file held is
  // always the one at `path`. Read access: the end of the run copies through this handle.
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    SetErrno(error);
    // A file that its holder has deleted but not yet closed refuses access as well.
    const bool held = error == ERROR_SHARING_VIOLATION ||
                      (error == ERROR_ACCESS_DENIED && std::filesystem::exists(path));
    return held ? LockedOpen::kInUse : LockedOpen::kFailed;
  }
  // A link (a reparse point, opened itself) or a device is left as it is, as is a file with
  // a second name.
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    CloseHandle(handle);
    return LockedOpen::kNotRegular;
  }
  if (info.nNumberOfLinks > 1) {
    CloseHandle(handle);
    return LockedOpen::kForeign;
  }
  RunProbeBetweenOpenAndLock();
  if (!SetEndOfFile(handle)) {
    SetErrno(GetLastError());
    CloseHandle(handle);
    return LockedOpen::kFailed;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    return LockedOpen::kFailed;
  }
  file = _fdopen(fd, "wb");
  if (file == nullptr) {
    _close(fd);
    return LockedOpen::kFailed;
  }
  return LockedOpen::kOpened;
}

bool ReadHeldFile(std::FILE* file, std::string& content) {
  if (std::fflush(file) != 0) return false;
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  if (handle == INVALID_HANDLE_VALUE) return false;
  content.clear();
  char buffer[65536];
  bool ok = true;
  for (;;) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(content.size() & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(static_cast<unsigned long long>(content.size()) >> 32);
    DWORD n = 0;
    if (!ReadFile(handle, buffer, sizeof buffer, &n, &at)) {
      ok = GetLastError() == ERROR_HANDLE_EOF;
      break;
    }
    if (n == 0) break;
    content.append(buffer, n);
  }
  // A read at an offset moves the handle's position; the next line goes at the end.
  LARGE_INTEGER zero{};
  return SetFilePointerEx(handle, zero, nullptr, FILE_END) && ok;
}

bool LockForAppend(std::FILE* file) {
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  if (handle == INVALID_HANDLE_VALUE) return false;
  // One byte far beyond any content: appenders exclude each other while readers of the
  // file (a run listing its entries) are never refused.
  OVERLAPPED beyond{};
  beyond.Offset = MAXDWORD;
  beyond.OffsetHigh = 0x7FFFFFFF;
  if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &beyond)) return true;
  // A file system without locks refuses every one.
  const DWORD error = GetLastError();
  if (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION) return true;
  SetErrno(error);
  return false;
}

bool EmptyLockedFile(std::FILE* file) {
  return std::fflush(file) == 0 && _chsize_s(_fileno(file), 0) == 0;
}

unsigned long CurrentProcessId() { return GetCurrentProcessId(); }

}  // namespace quenda
