#include "platform/file_errors.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace quenda {
namespace {

// The Windows codes that the standard library folds into "no such file" or leaves without
// an error condition, each with its neighbours, which are left to the standard library.
TEST(FileErrors, WindowsCodesOfMissingFoldersBadNamesAndFullDisks) {
  const struct {
    int code;
    int number;  // 0: not Windows' own
  } cases[] = {
      {0, 0},
      {2, 0},
      {3, kErrPathNotFound},
      {4, 0},
      {5, 0},
      {14, 0},
      {15, kErrPathNotFound},
      {16, 0},
      {38, 0},
      {39, kErrDiskFull},
      {40, 0},
      {52, 0},
      {53, kErrPathNotFound},
      {54, 0},
      {66, 0},
      {67, kErrPathNotFound},
      {68, 0},
      {80, 0},
      {111, 0},
      {112, kErrDiskFull},
      {113, 0},
      {122, 0},
      {123, kErrBadFileName},
      {124, 0},
      {160, 0},
      {161, kErrBadFileName},
      {162, 0},
      {183, 0},
      {205, 0},
      {206, kErrBadFileName},
      {207, 0},
      {-3, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WindowsFileErrorNumber(c.code), c.number) << "Windows error " << c.code;
  }
}

TEST(FileErrors, WindowsCodesOfATakenName) {
  const std::pair<int, bool> cases[] = {
      {79, false}, {80, true}, {81, false}, {182, false}, {183, true}, {184, false}, {0, false},
  };
  for (const auto& [code, taken] : cases) {
    EXPECT_EQ(IsWindowsNameTaken(code), taken) << "Windows error " << code;
  }
}

}  // namespace
}  // namespace quenda
