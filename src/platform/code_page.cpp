#include "platform/code_page.h"

#include <algorithm>

namespace quenda {
namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::optional<std::string> Cp1252ToCodePage(std::string_view cp1252, int codePage) {
  if (IsAscii(cp1252)) return std::string(cp1252);
  return SystemCp1252ToCodePage(cp1252, codePage);
}

std::string CodePageToCp1252(std::string_view bytes, int codePage) {
  if (IsAscii(bytes)) return std::string(bytes);
  if (auto text = SystemCodePageToCp1252(bytes, codePage)) return *text;
  std::string text(bytes);
  std::replace_if(
      text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }, '?');
  return text;
}

}  // namespace quenda
