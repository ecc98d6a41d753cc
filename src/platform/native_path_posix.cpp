#include "platform/native_path.h"

#include "text/cp1252.h"

namespace fs = std::filesystem;

namespace quenda {

fs::path NativePath(const std::string& text) { return fs::path(Cp1252ToUtf8(text)); }

std::string PathText(const fs::path& path) { return Utf8ToCp1252(path.string()); }

std::FILE* OpenNativeFile(const fs::path& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

void ClearFileAttributes(const fs::path& path, std::error_code& ec) {
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
}

std::string TextFromNative(const std::string& native) { return Utf8ToCp1252(native); }

std::string NativeFromText(const std::string& text) { return Cp1252ToUtf8(text); }

}  // namespace quenda
