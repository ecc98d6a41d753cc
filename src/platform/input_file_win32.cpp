#include "platform/files.h"
#include "platform/input_file.h"
#include "platform/native_path.h"

#include <io.h>

#include <cerrno>
#include <system_error>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace quenda {

RegularInputFile::RegularInputFile(const std::filesystem::path& native, const std::string& path)
    : path_(path) {
  // Opening a folder fails as "access denied"; it is told by name instead.
  std::error_code ec;
  if (std::filesystem::is_directory(native, ec)) throw NotRegularFileError(path);
  // A file that another run is replacing at this moment refuses the open (the old file is
  // pending deletion); a replace is short, so the open is tried again for a second, as the
  // replace itself is.
  file_ = OpenNativeFile(native, "rb");
  for (int attempt = 0; file_ == nullptr && errno == EACCES && attempt < 50; ++attempt) {
    ::Sleep(20);
    file_ = OpenNativeFile(native, "rb");
  }
  if (file_ == nullptr) {
    throw ReadOpenError(std::error_code(errno, std::generic_category()), native, path);
  }
  // A device (CON, NUL, COM1) or a pipe is no disk file.
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file_)));
  LARGE_INTEGER size{};
  if (::GetFileType(handle) != FILE_TYPE_DISK) {
    std::fclose(file_);
    file_ = nullptr;
    throw NotRegularFileError(path);
  }
  if (::GetFileSizeEx(handle, &size) && size.QuadPart > 0) {
    size_ = static_cast<std::uintmax_t>(size.QuadPart);
  }
}

}  // namespace quenda
