#include "platform/file_errors.h"

namespace quenda {

int FileErrorNumber(const std::error_code& ec) { return PortableFileErrorNumber(ec); }

bool IsNameTaken(const std::error_code& ec) { return ec == std::errc::file_exists; }

}  // namespace quenda
