// Reading one value of an INI file on disk the way the Windows profile-string service
// does: on Windows the service itself (GetPrivateProfileStringA), elsewhere IniDocument
// with the same rules.
#pragma once

#include <string>

namespace quenda {

class Files;

// The value of `key` in `section` of the INI file `path` (a path text, resolved by
// `files`), at most 255 characters, or `fallback` with trailing blanks removed when the
// file or the key is missing. An unreadable file reads as a missing one; never throws
// for a missing or unreadable file.
std::string ReadProfileString(const Files& files, const std::string& path,
                              const std::string& section, const std::string& key,
                              const std::string& fallback);

}  // namespace quenda
