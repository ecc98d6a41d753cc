#include "platform/file_errors.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace quenda {
namespace {

// The system's own codes come first; a code of the C library keeps its condition.
TEST(FileErrorsWin32, SystemCodesGoThroughTheWindowsTable) {
  const std::error_code missingFolder(3, std::system_category());
  const std::error_code exists(183, std::system_category());
  EXPECT_EQ(FileErrorNumber(missingFolder), kErrPathNotFound);
  EXPECT_EQ(FileErrorNumber(std::error_code(112, std::system_category())), kErrDiskFull);
  EXPECT_TRUE(IsNameTaken(exists));
  EXPECT_EQ(FileErrorNumber(std::error_code(3, std::generic_category())), kErrPathFileAccess)
      << "errno 3 is no missing folder";
  EXPECT_FALSE(IsNameTaken(std::error_code(183, std::generic_category())));
}

}  // namespace
}  // namespace quenda
