#include "platform/ini_file.h"

#include "text/cp1252.h"

namespace quenda {
namespace {

constexpr std::size_t kMaxValue = 255;

bool IsIniBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\x1a' || c == '\r' || c == '\n' || c == '\f';
}

std::string_view TrimIni(std::string_view s) {
  while (!s.empty() && IsIniBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsIniBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view TrimSpaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

std::string Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value.substr(0, kMaxValue));
}

std::vector<std::string_view> SplitLines(std::string_view content) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = content.size();
    if (end > start) lines.push_back(content.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view content) {
  IniDocument doc;
  Section* current = nullptr;
  for (std::string_view raw : SplitLines(content)) {
    std::string_view line = TrimIni(raw);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      std::string_view name = line.substr(1);
      name = name.substr(0, name.find(']'));
      doc.sections_.push_back(Section{std::string(TrimIni(name)), {}});
      current = &doc.sections_.back();
      continue;
    }
    if (current == nullptr) continue;  // keys before any section can never be read
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      current->entries.push_back(Entry{std::string(line), std::nullopt});
    } else {
      current->entries.push_back(Entry{std::string(TrimIni(line.substr(0, eq))),
                                       std::string(TrimIni(line.substr(eq + 1)))});
    }
  }
  return doc;
}

const IniDocument::Section* IniDocument::FindSection(std::string_view name) const {
  name = TrimSpaces(name);
  for (const Section& s : sections_) {
    if (EqualsIgnoreCase(s.name, name)) return &s;
  }
  return nullptr;
}

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return std::nullopt;
  key = TrimSpaces(key);
  for (const Entry& e : s->entries) {
    if (!EqualsIgnoreCase(e.key, key)) continue;
    if (!e.value) return std::nullopt;
    return Unquote(*e.value);
  }
  return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> IniDocument::Entries(
    std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> out;
  const Section* s = FindSection(section);
  if (s == nullptr) return out;
  for (const Entry& e : s->entries) {
    if (!e.value) continue;
    bool seen = false;
    for (const auto& [k, v] : out) seen = seen || EqualsIgnoreCase(k, e.key);
    if (!seen) out.emplace_back(e.key, Unquote(*e.value));
  }
  return out;
}

std::string ProfileString(const IniDocument& doc, std::string_view section, std::string_view key,
                          std::string_view fallback) {
  if (auto value = doc.Find(section, key)) return *value;
  std::string_view f = fallback;
  while (!f.empty() && f.back() == ' ') f.remove_suffix(1);
  return std::string(f.substr(0, kMaxValue));
}

}  // namespace quenda
