#include "check/table_encoding.h"

#include <vector>

#include "platform/files.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The length of the UTF-8 letter sequence at `at` (2), or 0: a lead byte C3 to C5 and a
// continuation byte, giving U+00C0 to U+017F without the signs U+00D7 and U+00F7.
std::size_t LetterSequenceAt(const std::string& bytes, std::size_t at) {
  if (at + 1 >= bytes.size()) return 0;
  const auto lead = static_cast<unsigned char>(bytes[at]);
  const auto next = static_cast<unsigned char>(bytes[at + 1]);
  if (lead < 0xC3 || lead > 0xC5 || (next & 0xC0) != 0x80) return 0;
  if (lead == 0xC3 && (next == 0x97 || next == 0xB7)) return 0;
  return 2;
}

bool HasByteOrderMark(const std::string& bytes) { return bytes.starts_with(kByteOrderMark); }

const char* const kHead =
    "Die Tabelle ist als UTF-8 gespeichert; die Tabellen sind Windows-1252 (ANSI): ";
const char* const kTail = " (geprüft ist der Inhalt in Windows-1252)";

}  // namespace

std::optional<std::string> Utf8TableProblem(const std::string& bytes) {
  if (HasByteOrderMark(bytes)) {
    return kHead + "die Datei beginnt mit der Byte-Order-Mark >"_cp + std::string(kByteOrderMark) +
           "<, die ein Lauf als Teil des ersten Spaltennamens liest" + Utf8ToCp1252(kTail);
  }
  const std::vector<std::string> lines = SplitTextLines(bytes);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    for (std::size_t at = 0; at < line.size(); ++at) {
      const std::size_t length = LetterSequenceAt(line, at);
      if (length == 0) continue;
      const std::string sequence = line.substr(at, length);
      return kHead + "ein Lauf liest >"_cp + Utf8ToCp1252(sequence) + "< in Zeile " +
             std::to_string(i + 1) + " als >" + sequence + "<" + Utf8ToCp1252(kTail);
    }
  }
  return std::nullopt;
}

std::string Utf8LettersAsCp1252(const std::string& bytes) {
  std::string text;
  for (std::size_t at = HasByteOrderMark(bytes) ? kByteOrderMark.size() : 0; at < bytes.size();) {
    const std::size_t length = LetterSequenceAt(bytes, at);
    if (length == 0) {
      text += bytes[at++];
    } else {
      text += Utf8ToCp1252(std::string_view(bytes).substr(at, length));
      at += length;
    }
  }
  return text;
}

}  // namespace quenda
