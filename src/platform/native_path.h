// Native paths and native texts: the one place where the CP1252 texts of the logic meet
// the names and strings of the operating system. Elsewhere names on disk, arguments and
// environment values are UTF-8; on Windows they are texts of the ANSI code page, which
// the A-functions use (CP1252 on the users' desktops), so texts pass unchanged.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace quenda {

// The native path of a path text (CP1252). Never fails.
std::filesystem::path NativePath(const std::string& text);
// The path text (CP1252) of a native path; characters outside CP1252 become "?".
std::string PathText(const std::filesystem::path& path);

// Opens a file by native path with an fopen mode ("rb", "wb", "ab"); nullptr with errno
// set on failure. The caller closes it.
std::FILE* OpenNativeFile(const std::filesystem::path& path, const char* mode);

// Makes a file writable again: elsewhere adds the owner's read and write bits, on Windows
// sets the attributes to normal (read-only, hidden and system cleared). Sets `ec` on failure.
void ClearFileAttributes(const std::filesystem::path& path, std::error_code& ec);

// A text the program was given (an argument, an environment value) as CP1252, and back.
std::string TextFromNative(const std::string& native);
std::string NativeFromText(const std::string& text);

}  // namespace quenda
