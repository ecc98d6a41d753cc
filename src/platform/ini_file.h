// INI files read the way the Windows profile-string service reads them: first section
// and first key win, names compared ignoring case, ';' comment lines, blanks trimmed,
// one pair of matching outer quotes removed, at most 255 characters returned.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenda {

class IniDocument {
 public:
  // Parses INI text (CP1252 bytes). Never fails: unreadable lines are ignored.
  static IniDocument Parse(std::string_view content);

  // The value of `key` in the first section named `section`, quotes removed and cut to
  // 255 characters; nullopt when the key is missing or has no "=".
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;

  // Keys with values of the first section named `section`, in file order, first
  // occurrence of each key only.
  std::vector<std::pair<std::string, std::string>> Entries(std::string_view section) const;

 private:
  struct Entry {
    std::string key;
    std::optional<std::string> value;  // nullopt: line without "="
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  const Section* FindSection(std::string_view name) const;

  std::vector<Section> sections_;
};

// The value as GetPrivateProfileString returns it: the found value, or `fallback` with
// trailing spaces removed; both cut to 255 characters.
std::string ProfileString(const IniDocument& doc, std::string_view section, std::string_view key,
                          std::string_view fallback);

}  // namespace quenda
