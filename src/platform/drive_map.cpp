#include "platform/drive_map.h"

#include <algorithm>
#include <system_error>

#include "base/error.h"
#include "platform/native_path.h"
#include "text/cp1252.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

fs::path NativeName(const std::string& cp1252) { return NativePath(cp1252); }

std::string NameText(const fs::path& name) { return PathText(name); }

fs::path MatchComponent(const fs::path& dir, const std::string& component) {
  std::error_code ec;
  fs::path exact = dir / NativeName(component);
  if (fs::exists(fs::symlink_status(exact, ec))) return exact;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (EqualsIgnoreCase(NameText(it->path().filename()), component)) return it->path();
  }
  return exact;
}

}  // namespace

bool HasDevicePrefix(const std::string& path) {
  const auto separator = [](char c) { return c == '\\' || c == '/'; };
  return path.size() >= 4 && separator(path[0]) && separator(path[1]) &&
         (path[2] == '?' || path[2] == '.') && separator(path[3]);
}

std::string RefusedDevicePathText(const std::string& path) {
  return "Der Pfad >" + path +
         "< beginnt mit \\\\?\\ oder \\\\.\\ und wird nicht als Dateipfad genommen";
}

bool IsWindowsAbsolute(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':' &&
      ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
    return true;
  }
  return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}

std::string NormalizeWindowsPath(const std::string& path) {
  if (!IsWindowsAbsolute(path)) return path;
  // The root: "X:" with its separator, or "\\server\share".
  std::size_t rootEnd = 2;
  if (path[1] != ':') {
    for (int separators = 0; rootEnd < path.size(); ++rootEnd) {
      if ((path[rootEnd] == '\\' || path[rootEnd] == '/') && ++separators == 2) break;
    }
  }
  std::string root = path.substr(0, rootEnd);
  std::replace(root.begin(), root.end(), '/', '\\');
  if (path[1] == ':' && rootEnd < path.size() && (path[2] == '\\' || path[2] == '/')) {
    root += '\\';
  }
  std::vector<std::string> parts;
  std::size_t start = rootEnd;
  while (start < path.size()) {
    std::size_t end = path.find_first_of("\\/", start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    start = end + 1;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
  }
  std::string normal = root;
  const bool rootEndsInSeparator = !root.empty() && root.back() == '\\';
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0 || !rootEndsInSeparator) normal += '\\';
    normal += parts[i];
  }
  const char last = path.back();
  if ((last == '\\' || last == '/') && normal.back() != '\\') normal += '\\';
  return normal;
}

void DriveMap::Add(std::string prefix, fs::path folder) {
  entries_.push_back(Entry{std::move(prefix), std::move(folder)});
}

const DriveMap::Entry* DriveMap::Match(const std::string& path) const {
  const Entry* best = nullptr;
  for (const Entry& e : entries_) {
    std::string prefix = e.prefix;
    while (prefix.size() > 1 && prefix.back() == '\\') prefix.pop_back();
    if (path.size() < prefix.size()) continue;
    if (!EqualsIgnoreCase(path.substr(0, prefix.size()), prefix)) continue;
    const bool boundary = path.size() == prefix.size() || path[prefix.size()] == '\\' ||
                          prefix.back() == ':' || prefix.back() == '\\';
    if (boundary && (best == nullptr || prefix.size() > best->prefix.size())) best = &e;
  }
  return best;
}

fs::path DriveMap::Resolve(const std::string& given) const {
  if (HasDevicePrefix(given)) throw Error(kErrBadFileName, RefusedDevicePathText(given));
  const bool windows = IsWindowsAbsolute(given);
  const std::string path = windows ? NormalizeWindowsPath(given) : given;
  const Entry* e = windows ? Match(path) : nullptr;
  if (family_ == SystemFamily::kWindows) {
    // Windows paths are real here: only a configured prefix is redirected.
    if (e == nullptr) return NativePath(path);
  } else {
    if (!windows) {
      if (!path.empty() && path[0] == '/') return ResolveIgnoringCase("/", path.substr(1));
      return ResolveIgnoringCase(fs::path(), path);
    }
    if (e == nullptr) throw PlatformError(kErrPathNotFound, given);
  }
  std::string prefix = e->prefix;
  while (prefix.size() > 1 && prefix.back() == '\\') prefix.pop_back();
  return ResolveIgnoringCase(e->folder, path.substr(prefix.size()));
}

bool DriveMap::CanResolve(const std::string& path) const {
  if (HasDevicePrefix(path)) return false;
  if (family_ == SystemFamily::kWindows) return true;
  return !IsWindowsAbsolute(path) || Match(NormalizeWindowsPath(path)) != nullptr;
}

fs::path ResolveIgnoringCase(const fs::path& base, const std::string& relative) {
  fs::path result = base;
  bool looking = true;  // stop looking once a component does not exist at all
  std::size_t start = 0;
  while (start <= relative.size()) {
    std::size_t end = relative.find_first_of("\\/", start);
    if (end == std::string::npos) end = relative.size();
    const std::string component = relative.substr(start, end - start);
    start = end + 1;
    if (component.empty()) {
      if (end == relative.size() && !relative.empty() && result != base) result /= "";
      continue;
    }
    if (component == "." || component == ".." || !looking) {
      result /= NativeName(component);
      continue;
    }
    const fs::path dir = result.empty() ? fs::path(".") : result;
    fs::path next = MatchComponent(dir, component);
    std::error_code ec;
    looking = fs::exists(fs::symlink_status(next, ec));
    result = result.empty() ? next.filename() : next;
  }
  return result;
}

}  // namespace quenda
