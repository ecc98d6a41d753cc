#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>

#include "platform/native_path.h"
#include "platform/own_file.h"
#include "text/cp1252.h"

namespace fs = std::filesystem;

namespace quenda {

fs::path CheckedWriteTarget(const fs::path& native, const std::string& path, LinkRule rule) {
  constexpr int kMaxLinks = 40;
  fs::path at = native;
  for (int hop = 0; hop <= kMaxLinks; ++hop) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(at, ec);
    if (ec || !fs::exists(status)) return at;  // a new file; creating it tells what fails
    if (!fs::is_symlink(status)) {
      if (!fs::is_regular_file(status)) throw NotRegularFileError(path);
      return at;
    }
    if (rule == LinkRule::kNoLinks) {
      throw RefusedFileError(path, "ist eine symbolische Verknüpfung"_cp);
    }
    const fs::path next = fs::read_symlink(at, ec);
    if (ec) return at;
    at = next.is_absolute() ? next : at.parent_path() / next;
  }
  throw PlatformError(kErrPathFileAccess, path);
}

std::FILE* OpenForAppend(const fs::path& native, const std::string& path) {
  const fs::path target = CheckedWriteTarget(native, path, LinkRule::kProtectedLinks);
  std::FILE* file = OpenNativeFile(target, "a+b");
  if (file == nullptr) return nullptr;
  // A device name (NUL, CON, COM1) opens a device, never a file on a disk.
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  if (handle == INVALID_HANDLE_VALUE || GetFileType(handle) != FILE_TYPE_DISK) {
    std::fclose(file);
    throw NotRegularFileError(path);
  }
  return file;
}

std::error_code WriteToFile(std::FILE* file, const char* data, std::size_t size,
                            std::size_t& written) {
  written = 0;
  while (written < size) {
    constexpr std::size_t kChunk = 1u << 30;
    const std::size_t part = size - written < kChunk ? size - written : kChunk;
    const int n = _write(_fileno(file), data + written, static_cast<unsigned>(part));
    if (n < 0) return std::error_code(errno, std::generic_category());
    if (n == 0) return std::make_error_code(std::errc::no_space_on_device);
    written += static_cast<std::size_t>(n);
  }
  return {};
}

bool SizeOfFile(std::FILE* file, std::uint64_t& size) {
  const __int64 length = _filelengthi64(_fileno(file));
  if (length < 0) return false;
  size = static_cast<std::uint64_t>(length);
  return true;
}

bool ReadFileAt(std::FILE* file, std::uint64_t offset, char* buffer, std::size_t size) {
  const int fd = _fileno(file);
  if (_lseeki64(fd, static_cast<__int64>(offset), SEEK_SET) < 0) return false;
  const int n = _read(fd, buffer, static_cast<unsigned>(size));
  return n == static_cast<int>(size);
}

std::error_code CutFileTo(std::FILE* file, std::uint64_t size) {
  const errno_t error = _chsize_s(_fileno(file), static_cast<__int64>(size));
  return error == 0 ? std::error_code() : std::error_code(error, std::generic_category());
}

void MakePrivateFolder(const fs::path&, const std::string&) {}

}  // namespace quenda
