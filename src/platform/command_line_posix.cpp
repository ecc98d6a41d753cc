#include "platform/command_line.h"

#include "text/cp1252.h"

namespace quenda {

std::string ProgramCommandText(std::size_t /*optionWords*/, const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& w : words) {
    if (!text.empty()) text += ' ';
    text += w;
  }
  return Utf8ToCp1252(text);
}

}  // namespace quenda
