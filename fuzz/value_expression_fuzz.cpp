// Value expressions ("ERG=" dummies) of any shape against filled conservation slots.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/error.h"
#include "conservation/value_expression.h"
#include "fuzz_session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace quenda;
  static fuzz::FuzzSession session;
  static bool filled = [] {
    const char* values[] = {"", "ABCDEF", "ABCD", "1234", "", "x y"};
    for (int i = 0; i < 6; ++i) session.S().spec.At(i).Value = values[i];
    return true;
  }();
  (void)filled;
  try {
    EvaluateValueExpression(session.S(), fuzz::AsText(data, size), "LABEL");
  } catch (const Error&) {
  } catch (const RunEnded&) {
  }
  return 0;
}
