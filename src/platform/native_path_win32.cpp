#include "platform/native_path.h"

#include <windows.h>

namespace fs = std::filesystem;

namespace quenda {
namespace {

// Path texts are CP1252 whatever the desktop's code page: the logic writes them into
// files that Windows tools read, and the wide file functions need the same names.
constexpr UINT kTextCodePage = 1252;

std::wstring Widen(const std::string& text) {
  if (text.empty()) return {};
  const int n =
      MultiByteToWideChar(kTextCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(kTextCodePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(kTextCodePage, 0, wide.data(), static_cast<int>(wide.size()),
                                    nullptr, 0, "?", nullptr);
  std::string text(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(kTextCodePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n,
                      "?", nullptr);
  return text;
}

}  // namespace

fs::path NativePath(const std::string& text) { return fs::path(Widen(text)); }

std::string PathText(const fs::path& path) { return Narrow(path.native()); }

std::FILE* OpenNativeFile(const fs::path& path, const char* mode) {
  return _wfopen(path.c_str(), Widen(mode).c_str());
}

void ClearFileAttributes(const fs::path& path, std::error_code& ec) {
  if (SetFileAttributesA(PathText(path).c_str(), FILE_ATTRIBUTE_NORMAL)) {
    ec.clear();
  } else {
    ec = std::error_code(static_cast<int>(GetLastError()), std::system_category());
  }
}

std::string TextFromNative(const std::string& native) { return native; }

std::string NativeFromText(const std::string& text) { return text; }

}  // namespace quenda
