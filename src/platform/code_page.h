// Text in another single-byte or multi-byte code page of the system, converted through
// Unicode: the console's OEM code page (850 on a German Windows), in which cmd reads a batch
// file. The system's own conversion (iconv elsewhere, the Windows API on Windows) does it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quenda {

// `cp1252` in code page `codePage`; nullopt when a character has no place there (no
// look-alike is taken in its stead) or the code page is unknown. ASCII text comes back
// unchanged without asking the system.
std::optional<std::string> Cp1252ToCodePage(std::string_view cp1252, int codePage);

// `bytes` of code page `codePage` as CP1252; a character CP1252 cannot hold, a malformed
// sequence and every byte of an unknown code page beyond ASCII become "?".
std::string CodePageToCp1252(std::string_view bytes, int codePage);

// The system's conversions behind the two above (code_page_posix.cpp, code_page_win32.cpp):
// nullopt when the conversion cannot be made; CodePageToCp1252 puts "?" where it can.
std::optional<std::string> SystemCp1252ToCodePage(std::string_view cp1252, int codePage);
std::optional<std::string> SystemCodePageToCp1252(std::string_view bytes, int codePage);

// The console's code page of this machine: GetOEMCP() on Windows; 0 elsewhere, where the
// site setting says it.
int SystemConsoleCodePage();

}  // namespace quenda
