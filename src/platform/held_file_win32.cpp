#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>

#include "platform/held_file.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

std::error_code LastWinError() {
  return std::error_code(static_cast<int>(GetLastError()), std::system_category());
}

// A file another program has open (a reader of the target) refuses the rename for a moment;
// the caller tries again on permission_denied.
std::error_code RenameError(DWORD error) {
  if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) {
    return std::make_error_code(std::errc::permission_denied);
  }
  return std::error_code(static_cast<int>(error), std::system_category());
}

std::FILE* StreamOf(HANDLE handle) {
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = _fdopen(fd, "wb");
  if (file == nullptr) _close(fd);
  return file;
}

// The file gets the attributes of the file it replaces; without one, those of a new file
// (a copy takes over its source's read-only and hidden attributes). Set even when they seem
// the same: Wine shows a file whose name starts with a dot as hidden until told otherwise.
void TakeAttributes(const fs::path& path, const fs::path& like) {
  DWORD attributes = GetFileAttributesW(like.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    attributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN);
  }
  attributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY);
  SetFileAttributesW(path.c_str(), attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes);
}

// Called by CopyFileExW as the copy begins and as it goes on: a second handle to the file
// being written keeps it held from its creation until this program closes it.
DWORD CALLBACK HoldDestination(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, DWORD,
                               DWORD, HANDLE, HANDLE destination, LPVOID data) {
  HANDLE* held = static_cast<HANDLE*>(data);
  if (*held == INVALID_HANDLE_VALUE) {
    DuplicateHandle(GetCurrentProcess(), destination, GetCurrentProcess(), held, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
  }
  return PROGRESS_CONTINUE;
}

// Opens the existing file `path` for writing as Create holds it.
HANDLE OpenHeld(const fs::path& path, DWORD disposition) {
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                     disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::error_code HeldFile::Create(const fs::path& path, const fs::path& like) {
  Close();
  copied_ = false;
  // Sharing deletion lets this program rename the file while it holds it; an exclusive open
  // (the clean-up's) is refused as long as this handle with its write access is open.
  HANDLE handle = OpenHeld(path, CREATE_NEW);
  if (handle == INVALID_HANDLE_VALUE) return LastWinError();
  file_ = StreamOf(handle);
  if (file_ == nullptr) return std::make_error_code(std::errc::too_many_files_open);
  path_ = path;
  like_ = like;
  TakeAttributes(path_, like_);
  return {};
}

std::error_code HeldFile::CopyFrom(const fs::path& source, FileDigest* digest) {
  // CopyFileExW creates its destination itself: the empty file gives its name back for a
  // moment, in which there is nothing a clean-up could take.
  Close();
  if (!DeleteFileW(path_.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) return LastWinError();
  HANDLE held = INVALID_HANDLE_VALUE;
  if (!CopyFileExW(source.c_str(), path_.c_str(), HoldDestination, &held, nullptr,
                   COPY_FILE_FAIL_IF_EXISTS)) {
    const std::error_code ec = LastWinError();
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    return ec;
  }
  // An empty source may be copied without a progress call.
  if (held == INVALID_HANDLE_VALUE) held = OpenHeld(path_, OPEN_EXISTING);
  if (held == INVALID_HANDLE_VALUE) return LastWinError();
  file_ = StreamOf(held);
  if (file_ == nullptr) return std::make_error_code(std::errc::too_many_files_open);
  copied_ = true;
  TakeAttributes(path_, like_);
  // The system copied, perhaps on the file server's side: the source is read once more,
  // by this program, only when its fingerprint is wanted.
  if (digest != nullptr) {
    const std::optional<FileDigest> read = DigestFile(source);
    if (!read) return LastWinError();
    *digest = *read;
  }
  return {};
}

std::error_code HeldFile::Flush() { return FlushToDisk(file_); }

std::error_code HeldFile::RenameOnto(const fs::path& target) {
  constexpr DWORD kFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
  if (MoveFileExW(path_.c_str(), target.c_str(), kFlags)) return {};
  DWORD error = GetLastError();
  // The handle of a copy is CopyFileExW's, whose sharing may not allow the rename while it
  // is open; its data is flushed by now, so the file is let go for the rename. A file this
  // program created shares deletion: a sharing violation is a reader of the target's, and
  // the file stays held while the caller tries again.
  if (error == ERROR_SHARING_VIOLATION && copied_ && file_ != nullptr) {
    Close();
    if (MoveFileExW(path_.c_str(), target.c_str(), kFlags)) return {};
    error = GetLastError();
  }
  return RenameError(error);
}

void HeldFile::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

std::error_code FlushFolder(const fs::path&) { return {}; }

std::error_code FlushToDisk(std::FILE* file) {
  if (std::fflush(file) != 0) return std::error_code(errno, std::generic_category());
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  if (handle == INVALID_HANDLE_VALUE) return std::make_error_code(std::errc::bad_file_descriptor);
  return FlushFileBuffers(handle) ? std::error_code() : LastWinError();
}

bool RemoveIfUnheld(const fs::path& path) {
  // Shared with nobody: refused while any other handle reads, writes or deletes the file.
  HANDLE handle = CreateFileW(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  CloseHandle(handle);
  return true;
}

}  // namespace quenda
