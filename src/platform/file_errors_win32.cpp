#include "platform/file_errors.h"

namespace quenda {
namespace {

bool IsSystemError(const std::error_code& ec) { return ec.category() == std::system_category(); }

}  // namespace

int FileErrorNumber(const std::error_code& ec) {
  const int own = IsSystemError(ec) ? WindowsFileErrorNumber(ec.value()) : 0;
  return own != 0 ? own : PortableFileErrorNumber(ec);
}

bool IsNameTaken(const std::error_code& ec) {
  return (IsSystemError(ec) && IsWindowsNameTaken(ec.value())) || ec == std::errc::file_exists;
}

}  // namespace quenda
