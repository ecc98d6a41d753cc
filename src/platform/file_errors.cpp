#include "platform/file_errors.h"

#include "base/error.h"

namespace quenda {

int PortableFileErrorNumber(const std::error_code& ec) {
  if (ec == std::errc::no_such_file_or_directory) return kErrFileNotFound;
  if (ec == std::errc::not_a_directory) return kErrPathNotFound;
  if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted ||
      ec == std::errc::read_only_file_system || ec == std::errc::device_or_resource_busy ||
      ec == std::errc::text_file_busy) {
    return kErrPermissionDenied;
  }
  if (ec == std::errc::no_space_on_device || ec == std::errc::file_too_large) return kErrDiskFull;
  if (ec == std::errc::file_exists) return kErrFileExists;
  if (ec == std::errc::filename_too_long || ec == std::errc::invalid_argument) {
    return kErrBadFileName;
  }
  return kErrPathFileAccess;
}

int WindowsFileErrorNumber(int code) {
  switch (code) {
    case 3:   // ERROR_PATH_NOT_FOUND
    case 15:  // ERROR_INVALID_DRIVE
    case 53:  // ERROR_BAD_NETPATH
    case 67:  // ERROR_BAD_NET_NAME
      return kErrPathNotFound;
    case 123:  // ERROR_INVALID_NAME
    case 161:  // ERROR_BAD_PATHNAME
    case 206:  // ERROR_FILENAME_EXCED_RANGE
      return kErrBadFileName;
    case 39:   // ERROR_HANDLE_DISK_FULL
    case 112:  // ERROR_DISK_FULL
      return kErrDiskFull;
    default:
      return 0;
  }
}

bool IsWindowsNameTaken(int code) {
  return code == 80 || code == 183;  // ERROR_FILE_EXISTS, ERROR_ALREADY_EXISTS
}

}  // namespace quenda
