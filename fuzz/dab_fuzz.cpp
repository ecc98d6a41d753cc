// DAB lines of any shape, including masked "pro_50" values.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/error.h"
#include "dab/dab_file.h"
#include "dab/mask.h"
#include "fuzz_session.h"
#include "platform/files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace quenda;
  static fuzz::FuzzSession session;
  const std::string input = fuzz::AsText(data, size);
  int number = 0;
  for (const std::string& line : SplitTextLines(input)) {
    try {
      ApplyDabLine(session.S(), line, "T:\\fuzz.dab", ++number);
    } catch (const Error&) {
    }
  }
  try {
    DecodeMask(input, kMaskKey);
  } catch (const Error&) {
  }
  return 0;
}
