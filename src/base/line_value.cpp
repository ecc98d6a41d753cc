#include "base/line_value.h"

#include "base/error.h"
#include "text/line_text.h"

namespace quenda {

std::string RefusedLineValue(const std::vector<LineValue>& values, const std::string& file) {
  for (const LineValue& v : values) {
    if (FindLineBreakingByte(v.value) >= 0) {
      return RefusedLineValueText(ShowCodes(v.what), v.value, ShowCodes(file));
    }
  }
  return {};
}

void RequireLineValues(const std::vector<LineValue>& values, const std::string& file) {
  const std::string refused = RefusedLineValue(values, file);
  if (!refused.empty()) throw Error(kErrComposed, refused);
}

void RequireLineValue(const std::string& what, std::string_view value, const std::string& file) {
  RequireLineValues({{what, std::string(value)}}, file);
}

}  // namespace quenda
