// The text model: in memory every text is CP1252 (one byte per character).
// These helpers convert at the boundaries (XML, UI, OS names) and give CP1252 case rules.
#pragma once

#include <string>
#include <string_view>

namespace quenda {

// UTF-8 to CP1252. A character that CP1252 cannot hold, and every malformed byte
// sequence, becomes "?".
std::string Utf8ToCp1252(std::string_view utf8);

// CP1252 to UTF-8. The five codes CP1252 leaves undefined (81 8D 8F 90 9D) map to the
// C1 controls of the same number, so every byte round-trips.
std::string Cp1252ToUtf8(std::string_view cp1252);

// Upper and lower case of one CP1252 character (ä <-> Ä, š <-> Š, ÿ <-> Ÿ, ...).
char Cp1252Upper(char c);
char Cp1252Lower(char c);
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);

// True when both texts are equal ignoring CP1252 letter case.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// A source literal (UTF-8) as CP1252 bytes: "Länge"_cp holds 4C E4 6E 67 65.
inline std::string operator""_cp(const char* text, std::size_t length) {
  return Utf8ToCp1252(std::string_view(text, length));
}

}  // namespace quenda
