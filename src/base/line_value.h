// Values bound for a line of a text file Quenda writes (a DAB file, a conservation file,
// the reference configuration): a value that holds a byte no line may carry
// (text/line_text.h) is refused, naming the parameter and the file. The run checks all of
// a release's values before it writes the first file; each writer checks again.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quenda {

// One value and the parameter it comes from, as a refusal names it.
struct LineValue {
  std::string what;
  std::string value;
};

// The message (RefusedLineValueText) for the first of `values` that a line of `file`
// cannot carry; empty when every one can. A `what` holding such a byte is shown by its
// codes.
std::string RefusedLineValue(const std::vector<LineValue>& values, const std::string& file);

// Throws Error 60000 with that message when `value` cannot stand in a line of `file`.
void RequireLineValue(const std::string& what, std::string_view value, const std::string& file);

// Throws Error 60000 with the message of RefusedLineValue(values, file) unless it is empty.
void RequireLineValues(const std::vector<LineValue>& values, const std::string& file);

}  // namespace quenda
