#include "platform/mapped_file.h"

#include <cstdint>
#include <system_error>

#include "base/error.h"
#include "platform/files.h"
#include "platform/input_file.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace quenda {
namespace {

struct Handle {
  HANDLE handle;
  ~Handle() {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
  }
};

Error OpenError(const std::string& path) {
  return FileError(std::error_code(static_cast<int>(::GetLastError()), std::system_category()),
                   path);
}

}  // namespace

MappedFile::MappedFile(const Files& files, const std::string& path) {
  const std::filesystem::path native = files.Native(path);
  std::error_code ec;
  if (std::filesystem::is_directory(native, ec)) throw NotRegularFileError(path);
  const Handle file{::CreateFileW(native.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) throw OpenError(path);
  if (::GetFileType(file.handle) != FILE_TYPE_DISK) throw NotRegularFileError(path);
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.handle, &size)) throw OpenError(path);
  if (size.QuadPart == 0) return;
  if (static_cast<unsigned long long>(size.QuadPart) > SIZE_MAX) {
    throw PlatformError(kErrPathFileAccess, path);
  }
  const Handle section{::CreateFileMappingW(file.handle, nullptr, PAGE_READONLY, 0, 0, nullptr)};
  if (section.handle == nullptr) {
    ReadInstead(files, path);
    return;
  }
  void* view = ::MapViewOfFile(section.handle, FILE_MAP_READ, 0, 0, 0);
  if (view == nullptr) {
    ReadInstead(files, path);  // no address space left for it
    return;
  }
  mapping_ = view;
  data_ = static_cast<const char*>(view);
  size_ = static_cast<std::size_t>(size.QuadPart);
}

void MappedFile::Unmap() noexcept { ::UnmapViewOfFile(mapping_); }

}  // namespace quenda
