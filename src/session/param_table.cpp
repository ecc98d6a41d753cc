#include "session/param_table.h"

#include <algorithm>
#include <utility>

#include "base/error.h"

namespace quenda {

const std::string& ParamTable::At(int row, int column) const {
  if (row < 0 || row >= kRows || column < 0 || column >= kColumns) {
    throw PlatformError(kErrSubscript);
  }
  return cells_[static_cast<std::size_t>(row) * kColumns + column];
}

std::string& ParamTable::At(int row, int column) {
  return const_cast<std::string&>(std::as_const(*this).At(row, column));
}

std::string ParamTable::FindParameterValue(int rowCount, const std::string& name) const {
  const int last = std::min(rowCount, kRows - 1);
  for (int row = 0; row <= last; ++row) {
    if (At(row, kName) == name) return At(row, kValue);
  }
  return {};
}

}  // namespace quenda
