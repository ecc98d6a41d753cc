#include <iconv.h>

#include <cerrno>

#include "platform/code_page.h"

namespace quenda {
namespace {

// One conversion with iconv; `lenient` puts "?" for what cannot be converted and goes on,
// otherwise the conversion fails there.
std::optional<std::string> Convert(std::string_view text, int from, int to, bool lenient) {
  const std::string fromName = "CP" + std::to_string(from);
  const std::string toName = "CP" + std::to_string(to);
  iconv_t cd = iconv_open(toName.c_str(), fromName.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string input(text);
  std::string out;
  char* in = input.data();
  std::size_t inLeft = input.size();
  bool ok = true;
  while (inLeft > 0) {
    char buffer[256];
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t done = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    if (!lenient) {
      ok = false;
      break;
    }
    out += '?';  // skip the byte that cannot be converted
    ++in;
    --inLeft;
  }
  iconv_close(cd);
  if (!ok) return std::nullopt;
  return out;
}

}  // namespace

std::optional<std::string> SystemCp1252ToCodePage(std::string_view cp1252, int codePage) {
  return Convert(cp1252, 1252, codePage, false);
}

std::optional<std::string> SystemCodePageToCp1252(std::string_view bytes, int codePage) {
  return Convert(bytes, codePage, 1252, true);
}

int SystemConsoleCodePage() { return 0; }

}  // namespace quenda
