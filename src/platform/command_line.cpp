#include "platform/command_line.h"

namespace quenda {
namespace {

bool IsBlankChar(char c) { return c == ' ' || c == '\t'; }

std::size_t SkipBlanks(const std::string& line, std::size_t i) {
  while (i < line.size() && IsBlankChar(line[i])) ++i;
  return i;
}

// The end of the program name starting at `i`: quotes group, backslashes are plain.
std::size_t ProgramNameEnd(const std::string& line, std::size_t i) {
  bool quoted = false;
  for (; i < line.size(); ++i) {
    if (line[i] == '"') {
      quoted = !quoted;
    } else if (IsBlankChar(line[i]) && !quoted) {
      break;
    }
  }
  return i;
}

// The end of the argument starting at `i`, by the C runtime's rules.
std::size_t ArgumentEnd(const std::string& line, std::size_t i) {
  bool quoted = false;
  std::size_t backslashes = 0;
  for (; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"' && backslashes % 2 == 0) {
      // Inside quotes a doubled quote is one literal quote and ends the quoting.
      if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
        ++i;
        quoted = false;
      } else {
        quoted = !quoted;
      }
    } else if (IsBlankChar(c) && !quoted) {
      break;
    }
    backslashes = c == '\\' ? backslashes + 1 : 0;
  }
  return i;
}

}  // namespace

std::string CommandLineTail(const std::string& line, std::size_t skipWords) {
  std::size_t i = ProgramNameEnd(line, SkipBlanks(line, 0));
  for (std::size_t word = 0; word < skipWords; ++word) {
    i = SkipBlanks(line, i);
    if (i == line.size()) return {};
    i = ArgumentEnd(line, i);
  }
  return line.substr(SkipBlanks(line, i));
}

}  // namespace quenda
