#include "platform/file_errors.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace quenda {
namespace {

// The Windows codes that the standard library folds into "no such file" or leaves without
// an error condition, and the codes of a taken name, each with its neighbours, which are
// left to the standard library.
TEST(FileErrors, WindowsCodesOfMissingFoldersBadNamesFullDisksAndTakenNames) {
  const std::pair<int, int> own[] = {
      {3, kErrPathNotFound},  {15, kErrPathNotFound}, {53, kErrPathNotFound},
      {67, kErrPathNotFound}, {39, kErrDiskFull},     {112, kErrDiskFull},
      {123, kErrBadFileName}, {161, kErrBadFileName}, {206, kErrBadFileName},
  };
  for (const auto& [code, number] : own) {
    EXPECT_EQ(WindowsFileErrorNumber(code), number) << "Windows error " << code;
    EXPECT_EQ(WindowsFileErrorNumber(code - 1), 0) << "Windows error " << code - 1;
    EXPECT_EQ(WindowsFileErrorNumber(code + 1), 0) << "Windows error " << code + 1;
  }
  for (const int code : {0, 5, 80, 183, -3}) {
    EXPECT_EQ(WindowsFileErrorNumber(code), 0) << "Windows error " << code;
  }
  for (const int code : {79, 80, 81, 182, 183, 184, 0}) {
    EXPECT_EQ(IsWindowsNameTaken(code), code == 80 || code == 183) << "Windows error " << code;
  }
}

}  // namespace
}  // namespace quenda
