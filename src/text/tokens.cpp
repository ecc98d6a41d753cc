#include "text/tokens.h"

#include "text/cp1252.h"

namespace quenda {
namespace {

bool IsBlankChar(char c) { return c == ' ' || c == '\t'; }

std::string TrimBlanks(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlankChar(text[begin])) ++begin;
  while (end > begin && IsBlankChar(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

std::string Compress(std::string_view text) {
  std::string out;
  bool pendingBlank = false;
  for (char c : text) {
    if (IsBlankChar(c)) {
      pendingBlank = !out.empty();
      continue;
    }
    if (pendingBlank) out += ' ';
    pendingBlank = false;
    out += c;
  }
  if (pendingBlank) out += ' ';
  return out;
}

std::string Collapse(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (!IsBlankChar(c)) out += c;
  }
  return out;
}

std::string ApplyOption(const std::string& word, const std::string& text) {
  if (word == "TRIM") return TrimBlanks(text);
  if (word == "COMPRESS") return Compress(text);
  if (word == "COLLAPSE") return Collapse(text);
  if (word == "UCASE") return UpperCase(text);
  if (word == "LOWCASE") return LowerCase(text);
  return text;
}

}  // namespace

std::string GetToken(std::string_view text, int index, std::string_view delimiter) {
  std::size_t start = 0;  // 0-based position just behind the previous delimiter
  for (int i = 0; i < index; ++i) {
    const std::size_t found = text.find(delimiter, start);
    if (found == std::string_view::npos) return std::string(delimiter);
    start = found + delimiter.size();
  }
  const std::size_t next = text.find(delimiter, start);
  if (next == std::string_view::npos) return std::string(text.substr(start));
  return std::string(text.substr(start, next - start));
}

std::string NormalizeText(std::string& text, std::string& options) {
  options = UpperCase(options);
  for (int k = 0;; ++k) {
    const std::string word = GetToken(options, k, ",");
    if (word == ",") break;
    text = ApplyOption(word, text);
  }
  return text;
}

std::string Normalized(std::string_view text, std::string_view options) {
  std::string t(text);
  std::string o(options);
  return NormalizeText(t, o);
}

std::string SplitPath(std::string_view path) {
  const std::size_t last = path.rfind('\\');
  if (last == std::string_view::npos) return "|";
  return std::string(path.substr(0, last)) + "|" + std::string(path.substr(last + 1));
}

bool IsBlank(std::string_view value) { return Trim(value).empty(); }

std::string Trim(std::string_view value) {
  std::size_t begin = value.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  std::size_t end = value.find_last_not_of(' ');
  return std::string(value.substr(begin, end - begin + 1));
}

}  // namespace quenda
