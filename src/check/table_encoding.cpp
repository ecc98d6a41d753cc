#include "check/table_encoding.h"

#include <cstdio>
#include <vector>

#include "platform/files.h"
#include "text/cp1252.h"
#include "text/line_text.h"

namespace quenda {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The length (2 to 4) of the well-formed UTF-8 sequence of a character beyond ASCII at
// `at`, or 0: no overlong form, no surrogate, nothing beyond U+10FFFF.
std::size_t Utf8SequenceAt(std::string_view bytes, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
  const unsigned char lead = byte(0);
  const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
  if (length == 0 || at + length > bytes.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  const unsigned char second = byte(1);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90)) {
    return 0;
  }
  return length;
}

// How the finding names the character of `sequence`: itself in CP1252, or its code point
// where CP1252 has no form of it (an emoji, a CJK character).
std::string CharacterText(const std::string& sequence) {
  const std::string cp1252 = Utf8ToCp1252(sequence);
  if (cp1252 != "?") return ">" + cp1252 + "<";
  unsigned code = static_cast<unsigned char>(sequence[0]) & (0x7Fu >> sequence.size());
  for (std::size_t i = 1; i < sequence.size(); ++i) {
    code = code << 6 | (static_cast<unsigned char>(sequence[i]) & 0x3Fu);
  }
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", code);
  return std::string("das Zeichen ") + text + ", das es in Windows-1252 nicht gibt,";
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
      const std::size_t length = Utf8SequenceAt(line, at);
      if (length == 0) continue;
      const std::string sequence = line.substr(at, length);
      return kHead + "ein Lauf liest "_cp + CharacterText(sequence) + " in Zeile " +
             std::to_string(i + 1) + " als >" + ShowCodes(sequence) + "<" + Utf8ToCp1252(kTail);
    }
  }
  return std::nullopt;
}

std::string Utf8LettersAsCp1252(const std::string& bytes) {
  std::string text;
  for (std::size_t at = HasByteOrderMark(bytes) ? kByteOrderMark.size() : 0; at < bytes.size();) {
    const std::size_t length = Utf8SequenceAt(bytes, at);
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
