// The platform error numbers (base/error.h) of the operating system's error codes for
// files: the one place that maps them. The mapping of each system is in its own file
// (file_errors_posix.cpp, file_errors_win32.cpp); the table of Windows' own codes only maps
// numbers and compiles on every system, so that it is tested everywhere.
#pragma once

#include <system_error>

namespace quenda {

// The platform error number for `ec` (kErrPathFileAccess for any error without its own).
int FileErrorNumber(const std::error_code& ec);
// True when `ec` says that a file of the name exists already.
bool IsNameTaken(const std::error_code& ec);

// The number for an error condition of the standard library (std::errc), as every system
// reports most file errors.
int PortableFileErrorNumber(const std::error_code& ec);

// Windows tells a missing folder or drive from a missing file, and a bad name from both,
// where the standard library folds them into "no such file": the number for such a system
// error code (ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME, ERROR_DISK_FULL and their kin), 0
// for every other code.
int WindowsFileErrorNumber(int code);
// True for the Windows system error codes of a name that is taken (ERROR_FILE_EXISTS,
// ERROR_ALREADY_EXISTS).
bool IsWindowsNameTaken(int code);

}  // namespace quenda
