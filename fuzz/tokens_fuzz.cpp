// Text functions and the CP1252 conversions on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_session.h"
#include "text/cp1252.h"
#include "text/tokens.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace quenda;
  const std::string input = fuzz::AsText(data, size);
  const std::size_t cut = input.find('\n');
  std::string text = input.substr(0, cut);
  std::string options = cut == std::string::npos ? "TRIM,COMPRESS" : input.substr(cut + 1);
  for (int i = -1; i < 8; ++i) {
    const std::string field = GetToken(text, i, "|");
    if (field.size() > text.size() + 1) __builtin_trap();
  }
  NormalizeText(text, options);
  if (GetToken(SplitPath(input), 0, "|").size() > input.size()) __builtin_trap();
  IsBlank(input);
  if (Utf8ToCp1252(Cp1252ToUtf8(input)) != input) __builtin_trap();
  Utf8ToCp1252(input);
  if (UpperCase(input).size() != input.size()) __builtin_trap();
  return 0;
}
