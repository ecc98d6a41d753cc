#include "audit/release_source.h"

#include <vector>

#include "base/error.h"
#include "platform/input_file.h"
#include "text/cp1252.h"

namespace quenda::audit {

std::optional<std::string> MappedReleaseSource::Read(const std::string& path,
                                                     std::string& why) const {
  constexpr std::uintmax_t kLimit = 64u << 20;
  try {
    std::filesystem::path native = map_.Resolve(path);
    if (native.is_relative()) native = currentDir_ / native;
    return ReadInputFile(native, path, kLimit);
  } catch (const Error& e) {
    why = e.Description();
    return std::nullopt;
  }
}

std::vector<std::string> SplitLines(const std::string& bytes, bool* lastHasBreak) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t lf = bytes.find('\n', start);
    const std::size_t end = lf == std::string::npos ? bytes.size() : lf;
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    if (lf == std::string::npos) {
      if (lastHasBreak != nullptr) *lastHasBreak = false;
      return lines;
    }
    start = lf + 1;
  }
  if (lastHasBreak != nullptr) *lastHasBreak = true;
  return lines;
}

std::string FileNameOf(const std::string& path) {
  const std::size_t at = path.find_last_of('\\');
  return at == std::string::npos ? path : path.substr(at + 1);
}

std::string FolderOf(const std::string& path) {
  const std::size_t at = path.find_last_of('\\');
  return at == std::string::npos ? std::string() : path.substr(0, at);
}

bool EndsWithIgnoreCase(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         EqualsIgnoreCase(std::string_view(text).substr(text.size() - tail.size()), tail);
}

}  // namespace quenda::audit
