#include <windows.h>

#include "platform/code_page.h"

namespace quenda {
namespace {

std::wstring Wide(std::string_view text, UINT codePage, DWORD flags) {
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), n);
  return wide;
}

// `wide` in `codePage`; `usedDefault` tells whether a character had no place there. No
// best-fit look-alike is taken.
std::string Narrow(const std::wstring& wide, UINT codePage, BOOL* usedDefault) {
  const int size = static_cast<int>(wide.size());
  const DWORD flags = WC_NO_BEST_FIT_CHARS;
  const int n =
      WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, "?", usedDefault);
  if (n <= 0) return {};
  std::string text(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), size, text.data(), n, "?", usedDefault);
  return text;
}

}  // namespace

std::optional<std::string> SystemCp1252ToCodePage(std::string_view cp1252, int codePage) {
  const std::wstring wide = Wide(cp1252, 1252, MB_ERR_INVALID_CHARS);
  if (wide.empty()) return std::nullopt;
  BOOL usedDefault = FALSE;
  std::string text = Narrow(wide, static_cast<UINT>(codePage), &usedDefault);
  if (text.empty() || usedDefault) return std::nullopt;
  return text;
}

std::optional<std::string> SystemCodePageToCp1252(std::string_view bytes, int codePage) {
  const std::wstring wide = Wide(bytes, static_cast<UINT>(codePage), 0);
  if (wide.empty()) return std::nullopt;
  std::string text = Narrow(wide, 1252, nullptr);
  if (text.empty()) return std::nullopt;
  return text;
}

int SystemConsoleCodePage() { return static_cast<int>(GetOEMCP()); }

}  // namespace quenda
