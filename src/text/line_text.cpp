#include "text/line_text.h"

#include "text/cp1252.h"

namespace quenda {
namespace {

std::string FaultText(int code) {
  const std::string number = " (Code " + std::to_string(code) + ")";
  if (code == '\r' || code == '\n') return "enthält einen Zeilenumbruch"_cp + number;
  if (code >= 0x80) return "enthält ein Zeichen, das CP1252 nicht belegt"_cp + number;
  return "enthält ein Steuerzeichen"_cp + number;
}

}  // namespace

bool IsLineBreakingByte(unsigned char code, bool allowTab) {
  if (code == '\t') return !allowTab;
  return code < 0x20 || code == 0x7F || code == 0x81 || code == 0x8D || code == 0x8F ||
         code == 0x90 || code == 0x9D;
}

int FindLineBreakingByte(std::string_view value, bool allowTab) {
  for (char c : value) {
    const auto code = static_cast<unsigned char>(c);
    if (IsLineBreakingByte(code, allowTab)) return code;
  }
  return -1;
}

std::string ShowCodes(std::string_view value) {
  std::string shown;
  shown.reserve(value.size());
  for (char c : value) {
    const auto code = static_cast<unsigned char>(c);
    if (IsLineBreakingByte(code, true)) {
      shown += "{" + std::to_string(code) + "}";
    } else {
      shown += c;
    }
  }
  return shown;
}

std::string ShowCodesCut(std::string_view value, std::size_t limit) {
  std::string shown = ShowCodes(value.substr(0, limit));
  if (value.size() > limit) shown += "...";
  return shown;
}

std::string RefusedLineValueText(const std::string& what, std::string_view value,
                                 const std::string& file, bool allowTab) {
  return "Der Wert von " + what + " " + FaultText(FindLineBreakingByte(value, allowTab)) +
         " und kann nicht in " + file + " geschrieben werden: >" + ShowCodesCut(value) + "<";
}

}  // namespace quenda
